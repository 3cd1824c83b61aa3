#pragma once

// The lane engine shared by the wide kernels. Only their translation units
// include it, each built for its own instruction set, so everything here has
// internal linkage: a copy built for AVX-512 must never be linked in place of
// the AVX2 one. For the same reason it uses no library templates, whose
// out-of-line copies the linker would share between translation units.

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
// pixel finishes takes the next pixel of the line at once; the line's real
// parts are handed out in pixel order, so each is the same running sum the
// reference forms.
//
// A lane whose iterate equals, in both parts, one it had earlier finishes as
// bounded: the iteration is a deterministic map, so from there the orbit
// repeats iterates that have all been tested and never escapes, which is what
// the plain loop would find at the limit. Equality is ordered ==. A NaN never
// equals itself, so a NaN orbit still runs to the limit. +0 == -0: two
// iterates that differ only in the sign of a zero part have futures whose
// parts differ at most in the signs of zeros, because a zero's sign only
// reaches a later part through a product or sum that is itself zero; the
// escape test sees squares, so it decides alike for both. Every kCheckEvery
// iterations a lane compares its iterate with the one it saved, then saves
// anew on a schedule of doubling gaps: once a gap exceeds the orbit's tail
// and kCheckEvery times its period, the cycle is found.
template <class L, int N, bool kBlock = false> class LaneEngine {
    using Vec = typename L::Vec;
    using Mask = typename L::Mask;
    static constexpr int kWidth = L::kWidth;
    static constexpr int kLanes = kWidth * N;
    static constexpr long long kCheckEvery = 32;
    // A block's per-lane imaginary parts stay in registers where there are
    // enough of them (AVX-512's 32); with 16, they are read from memory.
    static constexpr bool kYInRegisters = !kBlock || kWidth >= 8;

    struct Slot {
        int pixel;
        int line;
        long long start;
    };

public:
    LaneEngine(const LineParams &p, double x) : m_p(p), m_x(x), m_nextX(x), m_pixels(p.w * p.lines)
    {
    }

    unsigned run()
    {
        for (int v = 0; v < N; ++v)
            replace(v, (1u << kWidth) - 1, 0, 0);
        m_minDeadline = m_busy > 0 ? m_p.maxdwell : LLONG_MAX;
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
    // through memory; only a finished pixel sends them to the members for
    // the bookkeeping. Once the line has no pixel left to hand out and its
    // lanes would fit in fewer vectors, it returns to have them packed: a
    // line's last, slowest pixels then step one vector instead of four.
    template <int A> void iterate()
    {
        const Vec lineY = L::broadcast(m_p.y);
        const Vec bound = L::broadcast(m_p.bound);
        Vec zr[A], zi[A], cy[A];
#pragma GCC unroll 16
        for (int v = 0; v < A; ++v) {
            zr[v] = m_zr[v];
            zi[v] = m_zi[v];
            cy[v] = kBlock ? m_cy[v] : lineY;
        }
        for (long long t = m_t; m_busy > 0;) {
            Mask escaped[A];
#pragma GCC unroll 16
            for (int v = 0; v < A; ++v)
                escaped[v] = L::step(zr[v], zi[v], m_cx[v], kYInRegisters ? cy[v] : m_cy[v], bound);
            Mask any = escaped[0];
#pragma GCC unroll 16
            for (int v = 1; v < A; ++v)
                any = L::either(any, escaped[v]);
            const bool done = ++t == m_minDeadline;
            unsigned cycledBits[N] = {};
            if (t % kCheckEvery == 0) {
#pragma GCC unroll 16
                for (int v = 0; v < A; ++v) {
                    const Mask cycled = repeats(v, zr[v], zi[v]);
                    cycledBits[v] = L::bits(cycled);
                    any = L::either(any, cycled);
                }
            }
            if (L::none(any) && !done)
                continue;
            unsigned bits[N] = {};
#pragma GCC unroll 16
            for (int v = 0; v < A; ++v) {
                m_zr[v] = zr[v];
                m_zi[v] = zi[v];
                bits[v] = L::bits(escaped[v]);
                cycledBits[v] &= ~bits[v];
            }
            retire(bits, cycledBits, t, done);
            if (A > 1 && m_next >= m_pixels && m_busy <= kWidth) {
                m_t = t;
                return;
            }
#pragma GCC unroll 16
            for (int v = 0; v < A; ++v) {
                zr[v] = m_zr[v];
                zi[v] = m_zi[v];
                cy[v] = kBlock ? m_cy[v] : lineY;
            }
        }
    }

    // Moves the busy lanes, with everything they carry, to the lowest lanes
    // in order, parks the rest, and returns the vectors now in use.
    __attribute__((noinline)) int compact()
    {
        constexpr int kParts = kBlock ? 8 : 7;
        double lanes[8][kLanes];
        Vec *const parts[8] = {m_zr, m_zi, m_cx, m_savedR, m_savedI, m_countdown, m_gap, m_cy};
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
        // Parked lanes sit at the fixed point 0.
        for (int lane = packed; lane < kLanes; ++lane)
            for (int part = 0; part < 3; ++part)
                lanes[part][lane] = 0.0;
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
    // whose countdown of checks has run out, and doubles their next gap.
    Mask repeats(int v, Vec zr, Vec zi)
    {
        const Mask same = L::both(L::equal(zr, m_savedR[v]), L::equal(zi, m_savedI[v]));
        const Vec countdown = L::sub(m_countdown[v], L::broadcast(1.0));
        const Mask due = L::equal(countdown, L::broadcast(0.0));
        m_savedR[v] = L::blend(due, zr, m_savedR[v]);
        m_savedI[v] = L::blend(due, zi, m_savedI[v]);
        m_gap[v] = L::blend(due, L::add(m_gap[v], m_gap[v]), m_gap[v]);
        m_countdown[v] = L::blend(due, m_gap[v], countdown);
        return same;
    }

    // After step t - 1: the lanes that escaped on it, those whose orbit
    // repeats, and when done those that have now run for the whole limit.
    __attribute__((noinline)) void retire(const unsigned (&escaped)[N], const unsigned (&cycled)[N],
                                          long long t, bool done)
    {
        for (int v = 0; v < N; ++v) {
            if (const unsigned bits = escaped[v] & m_occupied[v])
                replace(v, bits, t - 1, t);
            if (const unsigned bits = cycled[v] & m_occupied[v])
                replace(v, bits, t, t, true);
        }
        if (done)
            retireAtLimit(t);
    }

    // Stores the pixels of the given lanes of vector v, whose dwell is
    // now - start (or the limit, for bounded ones), and gives each lane the
    // next pixel (or parks it at the fixed point 0 when the line has none left).
    void replace(int v, unsigned bits, long long now, long long nextStart, bool bounded = false)
    {
        double cx[kWidth], zr[kWidth], zi[kWidth];
        L::store(cx, m_cx[v]);
        L::store(zr, m_zr[v]);
        L::store(zi, m_zi[v]);
        unsigned refilled = 0;
        // A block's new pixels take their line's imaginary part by whole
        // vectors, a line at a time: no lane is written alone.
        unsigned lineLanes = 0;
        int lanesLine = m_line;
        for (unsigned rest = bits; rest != 0; rest &= rest - 1) {
            const int l = __builtin_ctz(rest);
            Slot &slot = m_slots[v * kWidth + l];
            if (m_occupied[v] & (1u << l))
                finish(slot, bounded ? m_p.maxdwell : int(now - slot.start), zr[l], zi[l]);
            if (m_next < m_pixels) {
                if (kBlock && m_line != lanesLine) {
                    setLineY(v, lineLanes, lanesLine);
                    lineLanes = 0;
                    lanesLine = m_line;
                }
                lineLanes |= 1u << l;
                slot = {m_next++, m_line, nextStart};
                cx[l] = m_nextX;
                m_nextX += m_p.step;
                // Each line's real parts are the same running sum from x.
                if (++m_column == m_p.w) {
                    m_column = 0;
                    ++m_line;
                    m_nextX = m_x;
                }
                refilled |= 1u << l;
            } else {
                cx[l] = 0.0;
            }
        }
        if constexpr (kBlock) {
            setLineY(v, lineLanes, lanesLine);
            // Parked lanes sit at the fixed point 0.
            m_cy[v] = L::blend(L::maskOf(bits & ~refilled), L::broadcast(0.0), m_cy[v]);
        }
        m_busy += __builtin_popcount(refilled) - __builtin_popcount(m_occupied[v] & bits);
        m_occupied[v] = (m_occupied[v] & ~bits) | refilled;
        m_cx[v] = L::load(cx);
        const Mask fresh = L::maskOf(refilled);
        const Mask parked = L::maskOf(bits & ~refilled);
        const Mask changed = L::maskOf(bits);
        const Vec zero = L::broadcast(0.0);
        m_zr[v] = L::blend(parked, zero, L::blend(fresh, L::broadcast(m_p.originX), m_zr[v]));
        m_zi[v] = L::blend(parked, zero, L::blend(fresh, L::broadcast(m_p.originY), m_zi[v]));
        // Nothing saved yet equals a NaN; the first check saves.
        const Vec nothing = L::broadcast(__builtin_nan(""));
        const Vec one = L::broadcast(1.0);
        m_savedR[v] = L::blend(changed, nothing, m_savedR[v]);
        m_savedI[v] = L::blend(changed, nothing, m_savedI[v]);
        m_countdown[v] = L::blend(changed, one, m_countdown[v]);
        m_gap[v] = L::blend(changed, one, m_gap[v]);
    }

    void setLineY(int v, unsigned lanes, int line)
    {
        if (lanes != 0)
            m_cy[v] = L::blend(L::maskOf(lanes), L::broadcast(m_p.ys[line]), m_cy[v]);
    }

    // zr, zi: the iterate one step past the escape, as the reference has it.
    void finish(const Slot &slot, int dwell, double zr, double zi)
    {
        m_p.buf[slot.pixel] = dwell == m_p.maxdwell ? -1 : dwell;
        if (m_p.norms)
            m_p.norms[slot.pixel] = dwell == m_p.maxdwell ? 0.0f : float(zr * zr + zi * zi);
        if constexpr (kBlock)
            m_p.sums[slot.line] = int(unsigned(m_p.sums[slot.line]) + unsigned(dwell));
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
                replace(v, bits, t, t);
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
    int m_busy = 0;
    // Steps taken so far, every lane at once.
    long long m_t = 0;
    long long m_minDeadline = LLONG_MAX;
    unsigned m_total = 0;
    unsigned m_occupied[N]{};
    Slot m_slots[kLanes]{};
    // Parked lanes sit at the fixed point 0.
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
