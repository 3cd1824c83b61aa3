#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

namespace dwell {

// A double's biased exponent field, and the double with another one in its
// place (for normal values in and out: an exact scaling by a power of two).
inline std::int64_t exponentField(double x)
{
    return std::int64_t((std::bit_cast<std::uint64_t>(x) >> 52) & 0x7ff);
}
inline double withExponentField(double x, std::int64_t field)
{
    return std::bit_cast<double>((std::bit_cast<std::uint64_t>(x) & ~(std::uint64_t(0x7ff) << 52)) |
                                 std::uint64_t(field) << 52);
}

// x * 2^shift for a normal double whose result stays normal, by its
// exponent bits; otherwise (and exactly alike) by std::ldexp. The
// perturbation loop scales millions of times a second, where the library
// call would cost more than the arithmetic.
inline double scaledByPowerOfTwo(double x, std::int64_t shift)
{
    const std::int64_t field = exponentField(x);
    if (field > 0 && field < 0x7ff && field + shift > 0 && field + shift < 0x7ff)
        return withExponentField(x, field + shift);
    return std::ldexp(x, int(shift < -4000 ? -4000 : shift > 4000 ? 4000 : shift));
}

// A double mantissa with a 64-bit exponent: value = mantissa * 2^exponent,
// the mantissa 0 or of magnitude in [0.5, 1). Neither underflows nor
// overflows at the depths of a deep zoom (1e-1000 and far beyond).
struct ExtendedFloat {
    double mantissa = 0.0;
    std::int64_t exponent = 0;

    static ExtendedFloat normalized(double mantissa, std::int64_t exponent)
    {
        // A normal double is brought into [0.5, 1) through its exponent
        // bits, as frexp would; zeros, subnormals and the rest by frexp.
        const std::int64_t field = exponentField(mantissa);
        if (field > 0 && field < 0x7ff)
            return {withExponentField(mantissa, 1022), exponent + field - 1022};
        if (mantissa == 0.0 || !std::isfinite(mantissa))
            return {mantissa, 0};
        int shift = 0;
        const double m = std::frexp(mantissa, &shift);
        return {m, exponent + shift};
    }
    static ExtendedFloat of(double value) { return normalized(value, 0); }

    // The nearest double; 0 or infinity beyond its range.
    double toDouble() const;

    friend ExtendedFloat operator*(ExtendedFloat a, ExtendedFloat b)
    {
        return normalized(a.mantissa * b.mantissa, a.exponent + b.exponent);
    }
    friend ExtendedFloat operator+(ExtendedFloat a, ExtendedFloat b)
    {
        if (a.mantissa == 0.0)
            return b;
        if (b.mantissa == 0.0)
            return a;
        if (a.exponent < b.exponent)
            std::swap(a, b);
        // Past 64 binary places the smaller one cannot change the double sum.
        const std::int64_t gap = a.exponent - b.exponent;
        if (gap > 64)
            return a;
        return normalized(a.mantissa + scaledByPowerOfTwo(b.mantissa, -gap), a.exponent);
    }
    friend ExtendedFloat operator-(ExtendedFloat a) { return {-a.mantissa, a.exponent}; }
    friend ExtendedFloat operator-(ExtendedFloat a, ExtendedFloat b) { return a + -b; }
    friend ExtendedFloat operator/(ExtendedFloat a, ExtendedFloat b)
    {
        return normalized(a.mantissa / b.mantissa, a.exponent - b.exponent);
    }
    // Ordering of non-negative values, such as squared moduli.
    friend bool operator<(ExtendedFloat a, ExtendedFloat b)
    {
        if (a.mantissa == 0.0 || b.mantissa == 0.0)
            return a.mantissa < b.mantissa;
        if (a.exponent != b.exponent)
            return a.exponent < b.exponent;
        return a.mantissa < b.mantissa;
    }
};

// The square root of a non-negative value.
ExtendedFloat sqrt(ExtendedFloat value);

} // namespace dwell
