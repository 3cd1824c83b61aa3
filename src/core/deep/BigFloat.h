#pragma once

#include "ExtendedFloat.h"

#include <mpfr.h>

#include <string>

namespace dwell {

// An MPFR number that frees itself.
class BigFloat {
public:
    explicit BigFloat(mpfr_prec_t bits) { mpfr_init2(m_value, bits); }
    ~BigFloat() { mpfr_clear(m_value); }
    BigFloat(const BigFloat &) = delete;
    BigFloat &operator=(const BigFloat &) = delete;

    mpfr_ptr get() { return m_value; }
    mpfr_srcptr get() const { return m_value; }

    // False, leaving the value NaN, when text is not a decimal number.
    bool set(const std::string &text);
    void set(double value) { mpfr_set_d(m_value, value, MPFR_RNDN); }
    void set(const ExtendedFloat &value)
    {
        mpfr_set_d(m_value, value.mantissa, MPFR_RNDN);
        mpfr_mul_2si(m_value, m_value, long(value.exponent), MPFR_RNDN);
    }
    // The value rounded to the nearest extended float.
    ExtendedFloat toExtended() const;
    // Decimal text with as many significant digits as the precision holds,
    // such that set() reads back the same value.
    std::string toText() const;

private:
    mpfr_t m_value;
};

} // namespace dwell
