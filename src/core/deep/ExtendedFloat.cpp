#include "ExtendedFloat.h"

#include <algorithm>
#include <limits>

namespace dwell {

double ExtendedFloat::toDouble() const
{
    // ldexp takes an int: beyond these exponents the result is 0 or infinite anyway.
    const std::int64_t clamped = std::clamp<std::int64_t>(exponent, -4000, 4000);
    return std::ldexp(mantissa, int(clamped));
}

ExtendedFloat operator+(ExtendedFloat a, ExtendedFloat b)
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
    return ExtendedFloat::normalized(a.mantissa + std::ldexp(b.mantissa, -int(gap)), a.exponent);
}

ExtendedFloat sqrt(ExtendedFloat value)
{
    // An even exponent halves exactly.
    const std::int64_t odd = value.exponent & 1;
    return ExtendedFloat::normalized(std::sqrt(std::ldexp(value.mantissa, int(odd))),
                                     (value.exponent - odd) / 2);
}

bool operator<(ExtendedFloat a, ExtendedFloat b)
{
    if (a.mantissa == 0.0 || b.mantissa == 0.0)
        return a.mantissa < b.mantissa;
    if (a.exponent != b.exponent)
        return a.exponent < b.exponent;
    return a.mantissa < b.mantissa;
}

} // namespace dwell
