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
};

// Keeps kLanes pixels in flight in N independent vectors, so that the long
// dependency chain of one iteration overlaps with the others. A lane whose
// pixel finishes takes the next pixel of the line at once; the line's real
// parts are handed out in pixel order, so each is the same running sum the
// reference forms.
template <class L, int N> class LaneEngine {
    using Vec = typename L::Vec;
    using Mask = typename L::Mask;
    static constexpr int kWidth = L::kWidth;
    static constexpr int kLanes = kWidth * N;

    struct Slot {
        int pixel;
        long long start;
    };

public:
    LaneEngine(const LineParams &p, double x) : m_p(p), m_nextX(x) {}

    unsigned run()
    {
        for (int v = 0; v < N; ++v)
            replace(v, (1u << kWidth) - 1, 0, 0);
        m_minDeadline = m_busy > 0 ? m_p.maxdwell : LLONG_MAX;
        iterate();
        return m_total;
    }

private:
    // The hot loop. The iterates live in registers and every loop over the
    // vectors is unrolled, so that none of them goes through memory; only a
    // finished pixel sends them to the members for the bookkeeping.
    void iterate()
    {
        const Vec y = L::broadcast(m_p.y);
        const Vec bound = L::broadcast(m_p.bound);
        Vec zr[N], zi[N];
#pragma GCC unroll 16
        for (int v = 0; v < N; ++v) {
            zr[v] = m_zr[v];
            zi[v] = m_zi[v];
        }
        for (long long t = 0; m_busy > 0;) {
            Mask escaped[N];
#pragma GCC unroll 16
            for (int v = 0; v < N; ++v)
                escaped[v] = L::step(zr[v], zi[v], m_cx[v], y, bound);
            Mask any = escaped[0];
#pragma GCC unroll 16
            for (int v = 1; v < N; ++v)
                any = L::either(any, escaped[v]);
            const bool done = ++t == m_minDeadline;
            if (L::none(any) && !done)
                continue;
            unsigned bits[N];
#pragma GCC unroll 16
            for (int v = 0; v < N; ++v) {
                m_zr[v] = zr[v];
                m_zi[v] = zi[v];
                bits[v] = L::bits(escaped[v]);
            }
            retire(bits, t, done);
#pragma GCC unroll 16
            for (int v = 0; v < N; ++v) {
                zr[v] = m_zr[v];
                zi[v] = m_zi[v];
            }
        }
    }

    // After step t - 1: the lanes that escaped on it, and when done those
    // that have now run for the whole limit.
    __attribute__((noinline)) void retire(const unsigned (&escaped)[N], long long t, bool done)
    {
        for (int v = 0; v < N; ++v)
            if (const unsigned bits = escaped[v] & m_occupied[v])
                replace(v, bits, t - 1, t);
        if (done)
            retireAtLimit(t);
    }

    // Stores the pixels of the given lanes of vector v, whose dwell is
    // now - start, and gives each lane the next pixel (or parks it at the
    // fixed point 0 when the line has none left).
    void replace(int v, unsigned bits, long long now, long long nextStart)
    {
        Vec cx = m_cx[v];
        unsigned refilled = 0;
        for (unsigned rest = bits; rest != 0; rest &= rest - 1) {
            const int l = __builtin_ctz(rest);
            Slot &slot = m_slots[v * kWidth + l];
            if (m_occupied[v] & (1u << l))
                finish(slot, int(now - slot.start));
            if (m_next < m_p.w) {
                slot = {m_next++, nextStart};
                cx = L::withLane(cx, l, m_nextX);
                m_nextX += m_p.step;
                refilled |= 1u << l;
            } else {
                cx = L::withLane(cx, l, 0.0);
            }
        }
        m_busy += __builtin_popcount(refilled) - __builtin_popcount(m_occupied[v] & bits);
        m_occupied[v] = (m_occupied[v] & ~bits) | refilled;
        const unsigned parked = bits & ~refilled;
        m_cx[v] = cx;
        m_zr[v] = L::select(parked, L::broadcast(0.0),
                            L::select(refilled, L::broadcast(m_p.originX), m_zr[v]));
        m_zi[v] = L::select(parked, L::broadcast(0.0),
                            L::select(refilled, L::broadcast(m_p.originY), m_zi[v]));
    }

    void finish(const Slot &slot, int dwell)
    {
        m_p.buf[slot.pixel] = dwell == m_p.maxdwell ? -1 : dwell;
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
    double m_nextX;
    int m_next = 0;
    int m_busy = 0;
    long long m_minDeadline = LLONG_MAX;
    unsigned m_total = 0;
    unsigned m_occupied[N]{};
    Slot m_slots[kLanes]{};
    // Parked lanes sit at the fixed point 0.
    Vec m_zr[N]{};
    Vec m_zi[N]{};
    Vec m_cx[N]{};
};

template <class L, int N>
int wideLine(double originX, double originY, double escape_radius, double x, double y, double step,
             int maxdwell, int w, int *buf)
{
    // Without iterations there is nothing to vectorise.
    if (w <= 0 || maxdwell <= 0)
        return mandelLineScalar(originX, originY, escape_radius, x, y, step, maxdwell, w, buf);
    const LineParams params{originX, originY, escape_radius, y, step, maxdwell, w, buf};
    return int(LaneEngine<L, N>(params, x).run());
}

} // namespace

} // namespace dwell
