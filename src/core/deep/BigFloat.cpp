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

std::string BigFloat::toText() const
{
    if (mpfr_zero_p(m_value))
        return "0";
    mpfr_exp_t exponent = 0;
    char *digits = mpfr_get_str(nullptr, &exponent, 10, 0, m_value, MPFR_RNDN);
    const std::string all(digits);
    mpfr_free_str(digits);
    // Digits "-d1d2..." stand for 0.d1d2... times ten to the exponent.
    const std::size_t first = all[0] == '-' ? 2 : 1;
    return all.substr(0, first) + "." + all.substr(first) + "e" +
           std::to_string(long(exponent) - 1);
}

} // namespace dwell
