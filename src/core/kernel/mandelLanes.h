#pragma once

// The lane engine shared by the wide kernels. Only their translation units
// include it, each built for its own instruction set, so everything here has
// internal linkage: a copy built for AVX-512 must never be linked in place of
// the AVX2 one. For the same reason it uses no library templates, whose
// out-of-line copies the linker would share between translation units.

#include "boundedOrbit.h"
#include "mandelScalar.h"

#include <climits>

namespace dwell {

namespace {

struct LineParams {
    double originX;
    double originY;
    double bound;
    double y;
    double step;
    int maxdwell;
    int w;
    int *buf;
    float *norms;
    // For a block of lines: line k's imaginary part, and its sum (which
    // wraps like the kernel's own); its pixels follow line k - 1's in buf.
    int lines = 1;
    const double *ys = nullptr;
    int *sums = nullptr;
};

// Keeps kLanes pixels in flight in N independent vectors, so that the long
// dependency chain of one iteration overlaps with the others. A lane whose
// pixel finishes takes the next pixel of the line (those that escape, a few
// at a time); the line's real parts are handed out in pixel order, so each
// is the same running sum the reference forms.
//
// A lane whose iterate equals, in both parts, one it had earlier finishes as
// bounded: the iteration is a deterministic map, so from there the orbit
// repeats iterates that have all been tested and never escapes, which is what
// the plain loop would find at the limit. Equality is ordered ==. A NaN never
// equals itself, so a NaN orbit still runs to the limit. +0 == -0: two
// iterates that differ only in the sign of a zero part have futures whose
// parts differ at most in the signs of zeros, because a zero's sign only
// reaches a later part through a product or sum that is itself zero; the
// escape test sees squares, so it decides alike for both. Every few
// iterations (a power of two) a lane compares its iterate with the one it
// saved, then saves anew on a schedule of doubling gaps: once a gap exceeds
// the orbit's tail and that interval times its period, the cycle is found.
//
// A lane that comes back near its saved iterate without equalling it asks
// for a proof that it never escapes (boundedOrbit.h), and finishes as
// bounded when there is one: an attracting cycle is proved long before its
// iterates settle to the last bit. Its first close return tries two steps,
// for its whole vector at once, and so does each of its later saves, which
// come ever more rarely, as a slowly attracted orbit settles. Closer returns
// of older lanes try the period of the orbit's first return, and after each
// failure the lane waits for a return sixteen times closer, so an orbit that
// only nearly repeats costs few tries.
template <class L, int N, bool kBlock = false> class LaneEngine {
    using Vec = typename L::Vec;
    using Mask = typename L::Mask;
    static constexpr int kWidth = L::kWidth;
    static constexpr int kLanes = kWidth * N;
    // Lanes check every kCheckEvery steps once the line has had a bounded
    // pixel, and every kCheckRarely steps before: near the boundary, where
    // hardly any pixel is bounded, the checks then cost a quarter as much.
    static constexpr long long kCheckEvery = 32;
    static constexpr long long kCheckRarely = 128;
    // Powers of two: the loop takes the step's phase with a mask.
    static_assert((kCheckEvery & (kCheckEvery - 1)) == 0 &&
                  (kCheckRarely & (kCheckRarely - 1)) == 0);
    // The squared distances from the saved iterate that first ask for the
    // two-step proof of every lane of a vector, and for a longer one.
    static constexpr double kNearForTwoSteps = 1e-4;
    static constexpr double kNear = 1e-8;
    // The gap between saves from which a lane asks for longer proofs.
    static constexpr double kProveFromGap = 4.0;
    // Iterations a lane must have left per step of a period it tries to prove.
    static constexpr long long kStepsPerPeriod = 256;
    // A block's per-lane imaginary parts stay in registers where there are
    // enough of them (AVX-512's 32); with 16, they are read from memory.
    static constexpr bool kYInRegisters = !kBlock || kWidth >= 8;

    struct Slot {
        int pixel;
        int line;
        long long start;
    };
    // Where idle and parked lanes sit: NaN never escapes nor repeats.
    static constexpr double kIdle = __builtin_nan("");
    // Pixels that no lane has taken yet wait with their iterate after the
    // first m_first iterations. Waiting{} is a parked lane.
    struct Waiting {
        int pixel = 0;
        int line = 0;
        double cx = 0.0, cy = 0.0, zr = kIdle, zi = 0.0;
    };
    // With four lanes a vector, each vector checks on a step of its own, so
    // that a check overlaps with the other vectors' steps (a boundary view
    // takes 11 % less time); with eight, all check at once, which costs a
    // wide view 6 % less.
    static constexpr int kCheckSpread = kWidth < 8 ? N : 1;
    // It divides both intervals, powers of two, so the gap between checking
    // steps is one too: the loop finds those steps with a mask.
    static_assert(kCheckEvery % kCheckSpread == 0 && kCheckRarely % kCheckSpread == 0);
    // At low limits the first iterations leave little for the lanes.
    static constexpr int kFirst = 16;
    // Escaped lanes that may idle together before they take new pixels:
    // each stop for bookkeeping costs as much as many steps of one lane.
    static constexpr int kIdleLanes = kLanes / 4;

public:
    LaneEngine(const LineParams &p, double x)
        : m_p(p), m_x(x), m_nextX(x), m_pixels(p.w * p.lines),
          m_first(p.maxdwell > kFirst ? kFirst : 0)
    {
    }

    unsigned run()
    {
        for (int v = 0; v < N; ++v)
            replace(v, (1u << kWidth) - 1, 0, Ending::Bounded);
        m_minDeadline = m_busy > 0 ? m_p.maxdwell - m_first : LLONG_MAX;
        for (int active = N; m_busy > 0; active = compact())
            iterateOn(active);
        return m_total;
    }

private:
    // The hot loop over all vectors, or over the first alone once the
    // line's last pixels fit in it.
    void iterateOn(int active)
    {
        if (active == 1)
            iterate<1>();
        else
            iterate<N>();
    }

    // The hot loop over vectors 0 to A - 1. The iterates live in registers
    // and every loop over the vectors is unrolled, so that none of them goes
    // through memory. A lane whose pixel escapes records the iterate and the
    // step and idles at NaN, which never escapes nor repeats, until a few more
    // have, or a check or deadline comes: only then do they all go to the
    // members for the bookkeeping at once. Once the line has no pixel left
    // to hand out and its lanes would fit in fewer vectors, it returns to
    // have them packed: a line's last, slowest pixels then step one vector
    // instead of all.
    template <int A> void iterate()
    {
        const Vec bound = L::broadcast(m_p.bound);
        // The real parts as well: read from the members, they cost a copy to
        // the stack on every step.
        Vec zr[A], zi[A], cy[A], cx[A];
        loadLanes(zr, zi, cx, cy);
        unsigned idleBits[N] = {};
        unsigned cycledBits[N] = {};
        unsigned nearBits[N] = {};
        int idle = 0;
        // The steps on which some vector checks; it changes only in retire.
        long long spreadMask = m_checkEvery / kCheckSpread - 1;
        for (long long t = m_t; m_busy > 0;) {
            Mask escaped[A];
#pragma GCC unroll 16
            for (int v = 0; v < A; ++v)
                escaped[v] = L::step(zr[v], zi[v], cx[v], kYInRegisters ? cy[v] : m_cy[v], bound);
            Mask any = escaped[0];
#pragma GCC unroll 16
            for (int v = 1; v < A; ++v)
                any = L::either(any, escaped[v]);
            const bool done = ++t == m_minDeadline;
            bool stop = done;
            if (!L::none(any))
                stop = idleEscaped(escaped, zr, zi, t, idleBits, idle) || stop;
            if ((t & spreadMask) == 0)
                stop = checkRepeats(zr, zi, cy, t, spreadMask, cycledBits, nearBits) || stop;
            if (!stop)
                continue;
#pragma GCC unroll 16
            for (int v = 0; v < A; ++v) {
                m_zr[v] = zr[v];
                m_zi[v] = zi[v];
            }
            retire(idleBits, cycledBits, nearBits, t, done);
            spreadMask = m_checkEvery / kCheckSpread - 1;
            idle = 0;
#pragma GCC unroll 16
            for (int v = 0; v < N; ++v)
                idleBits[v] = cycledBits[v] = nearBits[v] = 0;
            if (A > 1 && !pixelsLeft() && m_busy <= kWidth) {
                m_t = t;
                return;
            }
            loadLanes(zr, zi, cx, cy);
        }
    }

    template <int A>
    __attribute__((always_inline)) void loadLanes(Vec (&zr)[A], Vec (&zi)[A], Vec (&cx)[A],
                                                  Vec (&cy)[A])
    {
        const Vec lineY = L::broadcast(m_p.y);
#pragma GCC unroll 16
        for (int v = 0; v < A; ++v) {
            zr[v] = m_zr[v];
            zi[v] = m_zi[v];
            cx[v] = m_cx[v];
            cy[v] = kBlock ? m_cy[v] : lineY;
        }
    }

    // Records the escaped lanes' iterates and step t - 1, and parks them at
    // NaN; true when the bookkeeping should run now.
    template <int A>
    __attribute__((always_inline)) bool idleEscaped(const Mask (&escaped)[A], Vec (&zr)[A],
                                                    const Vec (&zi)[A], long long t,
                                                    unsigned (&idleBits)[N], int &idle)
    {
        const Vec now = L::broadcast(double(t - 1));
        const Vec idling = L::broadcast(kIdle);
#pragma GCC unroll 16
        for (int v = 0; v < A; ++v) {
            m_escR[v] = L::blend(escaped[v], zr[v], m_escR[v]);
            m_escI[v] = L::blend(escaped[v], zi[v], m_escI[v]);
            m_escT[v] = L::blend(escaped[v], now, m_escT[v]);
            zr[v] = L::blend(escaped[v], idling, zr[v]);
            const unsigned bits = L::bits(escaped[v]);
            idleBits[v] |= bits;
            idle += __builtin_popcount(bits);
        }
        return idle >= kIdleLanes || !pixelsLeft();
    }

    // Checks the vectors whose turn step t is; true when a lane repeats or
    // came back near.
    template <int A>
    __attribute__((always_inline)) bool
    checkRepeats(const Vec (&zr)[A], const Vec (&zi)[A], const Vec (&cy)[A], long long t,
                 long long spreadMask, unsigned (&cycledBits)[N], unsigned (&nearBits)[N])
    {
        const long long phase = t & (m_checkEvery - 1);
        const long long spread = spreadMask + 1;
        bool found = false;
#pragma GCC unroll 16
        for (int v = 0; v < A; ++v) {
            if (kCheckSpread > 1 && phase != v % kCheckSpread * spread)
                continue;
            Mask near;
            const Mask cycled = repeats(v, zr[v], zi[v], kYInRegisters ? cy[v] : m_cy[v], near);
            cycledBits[v] = L::bits(cycled);
            nearBits[v] = L::bits(near);
            found = found || (cycledBits[v] | nearBits[v]) != 0;
        }
        return found;
    }

    // Moves the busy lanes, with everything they carry, to the lowest lanes
    // in order, parks the rest, and returns the vectors now in use.
    __attribute__((noinline)) int compact()
    {
        constexpr int kParts = kBlock ? 9 : 8;
        double lanes[9][kLanes];
        Vec *const parts[9] = {m_zr,        m_zi,  m_cx,   m_savedR, m_savedI,
                               m_countdown, m_gap, m_near, m_cy};
        for (int part = 0; part < kParts; ++part)
            for (int v = 0; v < N; ++v)
                L::store(lanes[part] + v * kWidth, parts[part][v]);
        int packed = 0;
        for (int lane = 0; lane < kLanes; ++lane) {
            if (!(m_occupied[lane / kWidth] & (1u << (lane % kWidth))))
                continue;
            for (int part = 0; part < kParts; ++part)
                lanes[part][packed] = lanes[part][lane];
            m_slots[packed++] = m_slots[lane];
        }
        // Parked lanes idle at NaN.
        for (int lane = packed; lane < kLanes; ++lane) {
            lanes[0][lane] = kIdle;
            lanes[1][lane] = lanes[2][lane] = 0.0;
        }
        for (int v = 0; v < N; ++v) {
            for (int part = 0; part < kParts; ++part)
                parts[part][v] = L::load(lanes[part] + v * kWidth);
            const int filled = packed - v * kWidth;
            m_occupied[v] = filled >= kWidth ? (1u << kWidth) - 1
                            : filled > 0     ? (1u << filled) - 1
                                             : 0;
        }
        return (packed + kWidth - 1) / kWidth;
    }

    // Compares vector v's lanes with their saved iterates, then saves those
    // whose countdown of checks has run out, and doubles their next gap. A
    // lane's first close return tries the two-step proof for the vector at
    // once, here; closer returns later are left as they were, for
    // provesNear. Returns the lanes that repeat or are proven bounded.
    Mask repeats(int v, Vec zr, Vec zi, Vec cy, Mask &near)
    {
        const Mask same = L::both(L::equal(zr, m_savedR[v]), L::equal(zi, m_savedI[v]));
        const Vec dr = L::sub(zr, m_savedR[v]);
        const Vec di = L::sub(zi, m_savedI[v]);
        const Mask close =
            L::butNot(L::less(L::add(L::mul(dr, dr), L::mul(di, di)), m_near[v]), same);
        const Mask tried = L::notGreater(m_near[v], L::broadcast(kNear));
        const Mask first = L::butNot(close, tried);
        near = L::butNot(close, first);
        const Vec countdown = L::sub(m_countdown[v], L::broadcast(1.0));
        const Mask due = L::butNot(L::equal(countdown, L::broadcast(0.0)), near);
        // Lanes that tried before try again as they save, ever more rarely.
        const Mask trying = L::either(first, L::butNot(L::both(due, tried), same));
        Mask proven = trying;
        if (!L::none(trying)) {
            proven = L::both(trying, twoStepsBounded(zr, zi, m_cx[v], cy, m_p.bound));
            // The others wait for a return within kNear, for a longer proof.
            m_near[v] = L::blend(first, L::broadcast(kNear), m_near[v]);
        }
        m_savedR[v] = L::blend(due, zr, m_savedR[v]);
        m_savedI[v] = L::blend(due, zi, m_savedI[v]);
        m_gap[v] = L::blend(due, L::add(m_gap[v], m_gap[v]), m_gap[v]);
        m_countdown[v] = L::blend(near, m_countdown[v], L::blend(due, m_gap[v], countdown));
        return L::either(same, proven);
    }

    // Out of the hot loop's way.
    __attribute__((noinline)) static Mask twoStepsBounded(Vec zr, Vec zi, Vec cx, Vec cy,
                                                          double bound)
    {
        return provesTwoStepsBounded<L>(zr, zi, cx, cy, bound);
    }

    // Of the given lanes of vector v, which came back near their saved
    // iterates, those that provably never escape; the others take the
    // check repeats left undone and wait for a closer return.
    unsigned provesNear(int v, unsigned lanes, long long t)
    {
        double cx[kWidth], cy[kWidth], sr[kWidth], si[kWidth], zr[kWidth], zi[kWidth];
        double countdown[kWidth], gap[kWidth], near[kWidth];
        const Vec cyVector = kBlock ? m_cy[v] : L::broadcast(m_p.y);
        L::store(cx, m_cx[v]);
        L::store(cy, cyVector);
        L::store(sr, m_savedR[v]);
        L::store(si, m_savedI[v]);
        L::store(zr, m_zr[v]);
        L::store(zi, m_zi[v]);
        L::store(countdown, m_countdown[v]);
        L::store(gap, m_gap[v]);
        L::store(near, m_near[v]);
        unsigned proven = 0;
        for (unsigned rest = lanes; rest != 0; rest &= rest - 1) {
            const int l = __builtin_ctz(rest);
            const double distance = bounded_orbit::squaredDistance(zr[l], zi[l], sr[l], si[l]);
            // Orbits that settle quickly repeat exactly soon enough; a longer
            // proof only pays for those still running after a few saves.
            const bool longer = distance < kNear && gap[l] >= kProveFromGap;
            // Saves happen on checks, the last one gap - countdown checks ago
            // (counted at the present interval: longer ones only shorten the
            // periods tried).
            const auto steps = (long long)(gap[l] - countdown[l] + 1.0) * m_checkEvery;
            // A proof costs some hundred lane steps per step of its period:
            // only periods that leave a large saving are tried.
            const long long left = m_p.maxdwell - (t - m_slots[v * kWidth + l].start);
            const long long maxPeriod = left / kStepsPerPeriod < 256 ? left / kStepsPerPeriod : 256;
            const Proof proof = longer ? proveBounded(cx[l], cy[l], sr[l], si[l], zr[l], zi[l],
                                                      steps, maxPeriod, m_p.bound)
                                       : Proof::NotYet;
            if (proof == Proof::Bounded) {
                proven |= 1u << l;
                continue;
            }
            // The next try: a longer proof once the return is within kNear.
            near[l] = proof == Proof::TooLong ? 0.0 : longer ? distance / 16.0 : kNear;
            if (--countdown[l] == 0.0) {
                sr[l] = zr[l];
                si[l] = zi[l];
                gap[l] += gap[l];
                countdown[l] = gap[l];
            }
        }
        m_savedR[v] = L::load(sr);
        m_savedI[v] = L::load(si);
        m_countdown[v] = L::load(countdown);
        m_gap[v] = L::load(gap);
        m_near[v] = L::load(near);
        return proven;
    }

    // After step t - 1: the lanes whose pixels escaped, as recorded; those
    // whose orbit repeats or came back near (of which the proven are
    // bounded); and when done those that have now run for the whole limit.
    __attribute__((noinline)) void retire(const unsigned (&escaped)[N], const unsigned (&cycled)[N],
                                          const unsigned (&near)[N], long long t, bool done)
    {
        for (int v = 0; v < N; ++v) {
            if (const unsigned bits = escaped[v] & m_occupied[v])
                replace(v, bits, t, Ending::Escaped);
            const unsigned nearBits = near[v] & m_occupied[v];
            const unsigned proven = nearBits ? provesNear(v, nearBits, t) : 0;
            if (const unsigned bits = (cycled[v] | proven) & m_occupied[v])
                replace(v, bits, t, Ending::Bounded);
        }
        if (done)
            retireAtLimit(t);
    }

    enum class Ending {
        Escaped, // at the step and with the iterate recorded for it
        Bounded, // runs for the whole limit
    };

    // Stores the pixels of the given lanes of vector v, and gives each lane
    // the next waiting pixel (or parks it at NaN when there is none),
    // starting at step nextStart.
    void replace(int v, unsigned bits, long long nextStart, Ending ending)
    {
        double zr[kWidth], zi[kWidth], at[kWidth];
        if (ending == Ending::Escaped) {
            L::store(zr, m_escR[v]);
            L::store(zi, m_escI[v]);
            L::store(at, m_escT[v]);
        }
        unsigned refilled = 0;
        for (unsigned rest = bits; rest != 0; rest &= rest - 1) {
            const int l = __builtin_ctz(rest);
            Slot &slot = m_slots[v * kWidth + l];
            if (m_occupied[v] & (1u << l)) {
                if (ending == Ending::Escaped) {
                    finish(slot.pixel, slot.line, int((long long)at[l] - slot.start), zr[l], zi[l]);
                } else {
                    finish(slot.pixel, slot.line, m_p.maxdwell, 0.0, 0.0);
                    // The line has a bounded pixel: check as often as bounded lanes need.
                    m_checkEvery = kCheckEvery;
                }
            }
            Waiting next{};
            if (nextWaiting(next)) {
                // Its first iterations are done.
                slot = {next.pixel, next.line, nextStart - m_first};
                refilled |= 1u << l;
            }
            // Lane by lane in registers: a vector read back from lanes just
            // written one by one would wait for the stores.
            const Mask lane = L::maskOf(1u << l);
            m_cx[v] = L::blend(lane, L::broadcast(next.cx), m_cx[v]);
            if constexpr (kBlock)
                m_cy[v] = L::blend(lane, L::broadcast(next.cy), m_cy[v]);
            m_zr[v] = L::blend(lane, L::broadcast(next.zr), m_zr[v]);
            m_zi[v] = L::blend(lane, L::broadcast(next.zi), m_zi[v]);
        }
        m_busy += __builtin_popcount(refilled) - __builtin_popcount(m_occupied[v] & bits);
        m_occupied[v] = (m_occupied[v] & ~bits) | refilled;
        // Nothing saved yet equals a NaN; the first check saves.
        const Mask changed = L::maskOf(bits);
        m_savedR[v] = L::blend(changed, L::broadcast(__builtin_nan("")), m_savedR[v]);
        m_savedI[v] = L::blend(changed, L::broadcast(__builtin_nan("")), m_savedI[v]);
        m_countdown[v] = L::blend(changed, L::broadcast(1.0), m_countdown[v]);
        m_gap[v] = L::blend(changed, L::broadcast(1.0), m_gap[v]);
        m_near[v] = L::blend(changed, L::broadcast(kNearForTwoSteps), m_near[v]);
    }

    // The next pixel that has survived its first iterations, preparing more
    // as needed; false, and a lane parked at 0, when the picture has none left.
    bool nextWaiting(Waiting &next)
    {
        while (m_waitingNext == m_waitingCount) {
            if (m_next >= m_pixels)
                return false;
            prepare();
        }
        next = m_waiting[m_waitingNext++];
        return true;
    }

    bool pixelsLeft() const
    {
        return m_waitingNext < m_waitingCount || m_next < m_pixels;
    }

    // Takes the next pixels of the current line, up to kLanes, and runs their
    // first m_first iterations in plain vectors, without a lane's bookkeeping:
    // at low limits most pixels escape there and are stored by whole vectors.
    // The others wait. A batch never crosses a line, so its pixels share the
    // line's imaginary part and sum.
    __attribute__((noinline)) void prepare()
    {
        const int first = m_next;
        const int line = m_line;
        double cx[kLanes];
        const int count = takeBatch(cx);
        const double y = kBlock ? m_p.ys[line] : m_p.y;
        // Escaped lanes keep the iterate one step past their escape.
        Vec zr[N], zi[N], dwell[N];
        Mask live[N];
        firstIterations(cx, y, zr, zi, dwell, live);
        m_waitingCount = m_waitingNext = 0;
        // Waiting pixels' dwells and norms are stored here too, for now;
        // they are overwritten when they finish.
        Vec dwells = L::broadcast(0.0);
        for (int v = 0; v < N && v * kWidth < count; ++v) {
            const int lanes = count - v * kWidth < kWidth ? count - v * kWidth : kWidth;
            const int pixel = first + v * kWidth;
            storeLanes(m_p.buf + pixel, lanes, L::toInts(dwell[v]));
            if (m_p.norms)
                storeLanes(m_p.norms + pixel, lanes,
                           L::toFloats(L::add(L::mul(zr[v], zr[v]), L::mul(zi[v], zi[v]))));
            // Lanes past the batch may escape too, on c = (0, y).
            const unsigned batch = (1u << lanes) - 1;
            dwells = L::add(dwells, L::blend(L::maskOf(batch), dwell[v], L::broadcast(0.0)));
            if (const unsigned rest = batch & L::bits(live[v]))
                queueWaiting(rest, pixel, line, cx + v * kWidth, y, zr[v], zi[v]);
        }
        const unsigned sum = unsigned(L::sum(dwells));
        if constexpr (kBlock)
            m_p.sums[line] = int(unsigned(m_p.sums[line]) + sum);
        else
            m_total += sum;
    }

    // The real parts of the current line's next pixels, up to kLanes (0
    // past them), in cx; moves on to the next line at the end of one.
    // Returns how many pixels it took.
    int takeBatch(double (&cx)[kLanes])
    {
        const int count = m_p.w - m_column < kLanes ? m_p.w - m_column : kLanes;
        // A local, so that the running sum stays in a register.
        double nextX = m_nextX;
        for (int l = 0; l < count; ++l) {
            cx[l] = nextX;
            nextX += m_p.step;
        }
        for (int l = count; l < kLanes; ++l)
            cx[l] = 0.0;
        m_next += count;
        m_column += count;
        // Each line's real parts are the same running sum from x.
        if (m_column == m_p.w) {
            m_column = 0;
            ++m_line;
            nextX = m_x;
        }
        m_nextX = nextX;
        return count;
    }

    // The first m_first iterations of the batch, in whole vectors: each
    // lane's iterate, the step it escaped on, and whether it is still live.
    void firstIterations(const double (&cx)[kLanes], double y, Vec (&zr)[N], Vec (&zi)[N],
                         Vec (&dwell)[N], Mask (&live)[N])
    {
        Vec vx[N];
        const Vec vy = L::broadcast(y);
        const Vec bound = L::broadcast(m_p.bound);
        for (int v = 0; v < N; ++v) {
            zr[v] = L::broadcast(m_p.originX);
            zi[v] = L::broadcast(m_p.originY);
            vx[v] = L::load(cx + v * kWidth);
            dwell[v] = L::broadcast(0.0);
            live[v] = L::maskOf((1u << kWidth) - 1);
        }
        for (int j = 0; j < m_first; ++j) {
            unsigned any = 0;
            const Vec now = L::broadcast(double(j));
#pragma GCC unroll 16
            for (int v = 0; v < N; ++v) {
                const Mask escaped = L::stepLive(live[v], zr[v], zi[v], vx[v], vy, bound);
                dwell[v] = L::blend(escaped, now, dwell[v]);
                live[v] = L::butNot(live[v], escaped);
                any |= L::bits(live[v]);
            }
            if (any == 0)
                break;
        }
    }

    // Queues the given lanes of a vector of the batch, from pixel on.
    void queueWaiting(unsigned lanes, int pixel, int line, const double *cx, double y, Vec zr,
                      Vec zi)
    {
        double r[kWidth], i[kWidth];
        L::store(r, zr);
        L::store(i, zi);
        for (; lanes != 0; lanes &= lanes - 1) {
            const int l = __builtin_ctz(lanes);
            m_waiting[m_waitingCount++] = {pixel + l, line, cx[l], y, r[l], i[l]};
        }
    }

    // The first lanes of a vector's values, stored to consecutive places.
    template <class T, class Lanes> static void storeLanes(T *to, int lanes, const Lanes &values)
    {
        if (lanes == kWidth) {
            L::storeValues(to, values);
            return;
        }
        T all[kWidth];
        L::storeValues(all, values);
        for (int l = 0; l < lanes; ++l)
            to[l] = all[l];
    }

    // zr, zi: the iterate one step past the escape, as the reference has it.
    void finish(int pixel, int line, int dwell, double zr, double zi)
    {
        m_p.buf[pixel] = dwell == m_p.maxdwell ? -1 : dwell;
        if (m_p.norms)
            m_p.norms[pixel] = dwell == m_p.maxdwell ? 0.0f : float(zr * zr + zi * zi);
        if constexpr (kBlock)
            m_p.sums[line] = int(unsigned(m_p.sums[line]) + unsigned(dwell));
        else
            m_total += unsigned(dwell);
    }

    void retireAtLimit(long long t)
    {
        const long long start = t - m_p.maxdwell;
        for (int v = 0; v < N; ++v) {
            unsigned bits = 0;
            for (int l = 0; l < kWidth; ++l)
                if ((m_occupied[v] & (1u << l)) && m_slots[v * kWidth + l].start == start)
                    bits |= 1u << l;
            if (bits)
                replace(v, bits, t, Ending::Bounded);
        }
        m_minDeadline = LLONG_MAX;
        for (int v = 0; v < N; ++v)
            for (int l = 0; l < kWidth; ++l)
                if (m_occupied[v] & (1u << l)) {
                    const long long deadline = m_slots[v * kWidth + l].start + m_p.maxdwell;
                    m_minDeadline = deadline < m_minDeadline ? deadline : m_minDeadline;
                }
    }

    const LineParams m_p;
    const double m_x;
    double m_nextX;
    // The next pixel to hand out, of m_pixels: its line and column.
    const int m_pixels;
    int m_next = 0;
    int m_line = 0;
    int m_column = 0;
    const int m_first;
    Waiting m_waiting[kLanes]{};
    int m_waitingCount = 0;
    int m_waitingNext = 0;
    int m_busy = 0;
    // Steps taken so far, every lane at once.
    long long m_t = 0;
    long long m_minDeadline = LLONG_MAX;
    long long m_checkEvery = kCheckRarely;
    unsigned m_total = 0;
    unsigned m_occupied[N]{};
    Slot m_slots[kLanes]{};
    // Parked lanes idle at NaN.
    Vec m_zr[N]{};
    Vec m_zi[N]{};
    Vec m_cx[N]{};
    // A block's lanes carry their line's imaginary part.
    Vec m_cy[N]{};
    // Per lane: the iterate saved for the cycle check, and the checks until
    // the next save and between saves, as doubles to stay in vectors.
    Vec m_savedR[N]{};
    Vec m_savedI[N]{};
    Vec m_countdown[N]{};
    Vec m_gap[N]{};
    // Per lane: how close a return must come to ask for a proof.
    Vec m_near[N]{};
    // Per idle lane: the iterate one step past its escape, and that step.
    Vec m_escR[N]{};
    Vec m_escI[N]{};
    Vec m_escT[N]{};
};

template <class L, int N>
int wideLine(double originX, double originY, double escape_radius, double x, double y, double step,
             int maxdwell, int w, int *buf, float *norms)
{
    // Without iterations there is nothing to vectorise.
    if (w <= 0 || maxdwell <= 0)
        return mandelLineScalar(originX, originY, escape_radius, x, y, step, maxdwell, w, buf,
                                norms);
    const LineParams params{originX, originY, escape_radius, y, step, maxdwell, w, buf, norms};
    return int(LaneEngine<L, N>(params, x).run());
}

// Lines of a block share the lanes: a line's slowest pixels run beside the
// next line's first ones instead of alone. For at least one line of at
// least one pixel, at a positive limit.
template <class L, int N>
void wideLines(double originX, double originY, double escape_radius, double x, const double *ys,
               int lines, double step, int maxdwell, int w, int *buf, float *norms, int *sums)
{
    for (int line = 0; line < lines; ++line)
        sums[line] = 0;
    LineParams params{originX, originY, escape_radius, ys[0], step, maxdwell, w, buf, norms};
    params.lines = lines;
    params.ys = ys;
    params.sums = sums;
    LaneEngine<L, N, true>(params, x).run();
}

} // namespace

} // namespace dwell
