#include "ExtendedFloat.h"

#include <algorithm>

namespace dwell {

double ExtendedFloat::toDouble() const
{
    // ldexp takes an int: beyond these exponents the result is 0 or infinite anyway.
    const std::int64_t clamped = std::clamp<std::int64_t>(exponent, -4000, 4000);
    return std::ldexp(mantissa, int(clamped));
}

ExtendedFloat sqrt(ExtendedFloat value)
{
    // An even exponent halves exactly.
    const std::int64_t odd = value.exponent & 1;
    return ExtendedFloat::normalized(std::sqrt(std::ldexp(value.mantissa, int(odd))),
                                     (value.exponent - odd) / 2);
}

} // namespace dwell
