#include "BigFloat.h"

namespace dwell {

bool BigFloat::set(const std::string &text)
{
    char *end = nullptr;
    mpfr_strtofr(m_value, text.c_str(), &end, 10, MPFR_RNDN);
    if (text.empty() || end == text.c_str() || *end != '\0') {
        mpfr_set_nan(m_value);
        return false;
    }
    return true;
}

ExtendedFloat BigFloat::toExtended() const
{
    if (mpfr_zero_p(m_value))
        return {};
    long exponent = 0;
    const double mantissa = mpfr_get_d_2exp(&exponent, m_value, MPFR_RNDN);
    return ExtendedFloat::normalized(mantissa, exponent);
}

} // namespace dwell
