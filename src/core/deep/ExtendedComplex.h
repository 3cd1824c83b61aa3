#pragma once

#include "ExtendedFloat.h"

namespace dwell {

// A complex number whose parts are extended floats.
struct ExtendedComplex {
    ExtendedFloat re;
    ExtendedFloat im;

    friend ExtendedComplex operator+(const ExtendedComplex &a, const ExtendedComplex &b)
    {
        return {a.re + b.re, a.im + b.im};
    }
    friend ExtendedComplex operator-(const ExtendedComplex &a, const ExtendedComplex &b)
    {
        return {a.re - b.re, a.im - b.im};
    }
    friend ExtendedComplex operator*(const ExtendedComplex &a, const ExtendedComplex &b)
    {
        return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
    }
    // The squared modulus.
    ExtendedFloat norm() const { return re * re + im * im; }
};

} // namespace dwell
