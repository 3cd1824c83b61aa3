#pragma once

#include <cmath>
#include <cstdint>

namespace dwell {

// A double mantissa with a 64-bit exponent: value = mantissa * 2^exponent,
// the mantissa 0 or of magnitude in [0.5, 1). Neither underflows nor
// overflows at the depths of a deep zoom (1e-1000 and far beyond).
struct ExtendedFloat {
    double mantissa = 0.0;
    std::int64_t exponent = 0;

    static ExtendedFloat normalized(double mantissa, std::int64_t exponent)
    {
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
    friend ExtendedFloat operator+(ExtendedFloat a, ExtendedFloat b);
    friend ExtendedFloat operator-(ExtendedFloat a) { return {-a.mantissa, a.exponent}; }
    friend ExtendedFloat operator-(ExtendedFloat a, ExtendedFloat b) { return a + -b; }
    friend ExtendedFloat operator/(ExtendedFloat a, ExtendedFloat b)
    {
        return normalized(a.mantissa / b.mantissa, a.exponent - b.exponent);
    }
    // Ordering of non-negative values, such as squared moduli.
    friend bool operator<(ExtendedFloat a, ExtendedFloat b);
};

// The square root of a non-negative value.
ExtendedFloat sqrt(ExtendedFloat value);

} // namespace dwell
