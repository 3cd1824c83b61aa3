#pragma once

#include "ExtendedFloat.h"

namespace dwell {

// A complex number whose parts are Real: plain doubles where the numbers fit
// them, extended floats beyond. Both take the same operations in the same
// order of roundings.
template <class Real> struct ComplexOf {
    Real re;
    Real im;

    friend ComplexOf operator+(const ComplexOf &a, const ComplexOf &b)
    {
        return {a.re + b.re, a.im + b.im};
    }
    friend ComplexOf operator-(const ComplexOf &a, const ComplexOf &b)
    {
        return {a.re - b.re, a.im - b.im};
    }
    friend ComplexOf operator*(const ComplexOf &a, const ComplexOf &b)
    {
        return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
    }
    // The squared modulus.
    Real norm() const { return re * re + im * im; }
};

using DoubleComplex = ComplexOf<double>;
using ExtendedComplex = ComplexOf<ExtendedFloat>;

} // namespace dwell
