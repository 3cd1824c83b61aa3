#pragma once

namespace dwell {

// A complex number of plain doubles, with the same operations, in the same
// order of roundings, as ExtendedComplex.
struct DoubleComplex {
    double re;
    double im;

    friend DoubleComplex operator+(const DoubleComplex &a, const DoubleComplex &b)
    {
        return {a.re + b.re, a.im + b.im};
    }
    friend DoubleComplex operator-(const DoubleComplex &a, const DoubleComplex &b)
    {
        return {a.re - b.re, a.im - b.im};
    }
    friend DoubleComplex operator*(const DoubleComplex &a, const DoubleComplex &b)
    {
        return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
    }
    // The squared modulus.
    double norm() const { return re * re + im * im; }
};

} // namespace dwell
