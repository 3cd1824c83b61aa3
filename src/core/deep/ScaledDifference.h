#pragma once

#include "ComplexOf.h"

#include <algorithm>
#include <cstdint>

namespace dwell {

// A pixel's difference d from the reference, kept as w * 2^k: the parts of
// w plain doubles near 1 and k any integer. With the reference's value Z in
// doubles, a step d <- (2 Z + d) d + dc is then w <- (2 Z + d) w + dc / 2^k,
// plain double arithmetic at any depth. It serves wherever |Z| is far above
// the smallest doubles (kMinReference): there d's square, once below the
// double range, is far below the rounding of 2 Z d, as in extended floats.
class ScaledDifference {
public:
    // |Z| below this (by its larger part) takes its step in extended floats.
    static constexpr double kMinReference = 0x1p-400;
    // Scales below which d is negligible beside such a reference (|d| < 2^-836).
    static constexpr std::int64_t kNegligible = -900;

    explicit ScaledDifference(const ExtendedComplex &dc);

    void set(const ExtendedComplex &d);
    ExtendedComplex extended() const;
    // |d|^2 at any depth.
    ExtendedFloat norm() const;
    // d as doubles, or 0 where it is negligible beside any reference.
    const DoubleComplex &approx() const { return m_approx; }
    // Whether |d| < |Z| / 2 for any |Z| of at least kMinReference.
    bool farBelowReferences() const { return m_k < -470; }

    // d <- (2 Z + d) d + dc, for |Z| at least kMinReference.
    void step(const DoubleComplex &z)
    {
        const DoubleComplex twiceZ{z.re + z.re, z.im + z.im};
        m_w = (twiceZ + m_approx) * m_w + m_u;
        if (!inRange(m_w))
            rescale();
        else
            m_approx = approxOf(m_w, m_k);
    }

private:
    // The larger part within a factor 2^64 of 1 (its biased exponent within
    // 64 of 1's), or both zero: no rescaling needed.
    static bool inRange(const DoubleComplex &w)
    {
        const std::int64_t field = std::max(exponentField(w.re), exponentField(w.im));
        return (field > 1023 - 64 && field < 1023 + 64) || (w.re == 0.0 && w.im == 0.0);
    }
    static DoubleComplex approxOf(const DoubleComplex &w, std::int64_t k)
    {
        // Far below any reference it is added to (|w| < 2^64, |Z| >= 2^-400):
        // 0, without subnormal arithmetic or the library's slow path.
        if (k < kNegligible)
            return {};
        return {scaledByPowerOfTwo(w.re, k), scaledByPowerOfTwo(w.im, k)};
    }
    void setScale(std::int64_t k);
    void rescale();

    ExtendedComplex m_dc;
    // k never falls so far below dc's exponent that dc / 2^k would overflow.
    std::int64_t m_lowestK;
    DoubleComplex m_w{};
    std::int64_t m_k = 0;
    // dc / 2^k.
    DoubleComplex m_u{};
    DoubleComplex m_approx{};
};

} // namespace dwell
