#include "Nucleus.h"

#include "BigFloat.h"
#include "ComplexOf.h"

namespace dwell {

namespace {

// A complex number of two MPFR parts.
struct BigComplex {
    explicit BigComplex(long bits) : re(bits), im(bits) {}
    BigFloat re;
    BigFloat im;

    ExtendedComplex toExtended() const { return {re.toExtended(), im.toExtended()}; }
    void setZero()
    {
        mpfr_set_zero(re.get(), 1);
        mpfr_set_zero(im.get(), 1);
    }
};

// out <- a b + add * (1, 0); out may be a.
void multiplyAdd(BigComplex &out, const BigComplex &a, const BigComplex &b, long add,
                 BigComplex &scratch)
{
    mpfr_mul(scratch.re.get(), a.re.get(), b.re.get(), MPFR_RNDN);
    mpfr_mul(scratch.im.get(), a.im.get(), b.im.get(), MPFR_RNDN);
    mpfr_sub(scratch.re.get(), scratch.re.get(), scratch.im.get(), MPFR_RNDN);
    mpfr_mul(scratch.im.get(), a.re.get(), b.im.get(), MPFR_RNDN);
    mpfr_fma(scratch.im.get(), a.im.get(), b.re.get(), scratch.im.get(), MPFR_RNDN);
    mpfr_add_si(out.re.get(), scratch.re.get(), add, MPFR_RNDN);
    mpfr_set(out.im.get(), scratch.im.get(), MPFR_RNDN);
}

// z <- z^2 + c
void step(BigComplex &z, const BigComplex &c, BigComplex &scratch)
{
    multiplyAdd(z, z, z, 0, scratch);
    mpfr_add(z.re.get(), z.re.get(), c.re.get(), MPFR_RNDN);
    mpfr_add(z.im.get(), z.im.get(), c.im.get(), MPFR_RNDN);
}

bool read(BigComplex &c, const std::string &x, const std::string &y)
{
    return c.re.set(x) && c.im.set(y);
}

// The nucleus c with its size: 1 / |z_p' λ|, where λ is the product of 2 z_k
// over the cycle's other points, the scale at which the minibrot's cycle
// multiplier grows from 0 to 1.
Nucleus finish(const BigComplex &c, int period, long bits)
{
    BigComplex z(bits), scratch(bits);
    z.setZero();
    const ExtendedComplex one{ExtendedFloat::of(1.0), {}};
    const ExtendedComplex two{ExtendedFloat::of(2.0), {}};
    ExtendedComplex dz{}, lambda = one;
    for (int n = 0; n < period; ++n) {
        dz = two * z.toExtended() * dz + one;
        step(z, c, scratch);
        if (n + 1 < period)
            lambda = lambda * two * z.toExtended();
    }
    const ExtendedFloat size = ExtendedFloat::of(1.0) / sqrt((dz * lambda).norm());
    return {c.re.toText(), c.im.toText(), period, size};
}

} // namespace

int atomPeriod(const std::string &centerX, const std::string &centerY, int maxPeriod, long bits)
{
    BigComplex c(bits), z(bits), scratch(bits);
    if (!read(c, centerX, centerY))
        return 0;
    z.setZero();
    int period = 0;
    ExtendedFloat lowest{1.0, 64};
    for (int n = 1; n <= maxPeriod; ++n) {
        step(z, c, scratch);
        const ExtendedFloat size = z.toExtended().norm();
        if (ExtendedFloat::of(4.0) < size)
            break;
        if (size < lowest) {
            lowest = size;
            period = n;
        }
    }
    return period;
}

std::optional<Nucleus> findNucleus(const std::string &guessX, const std::string &guessY, int period,
                                   long bits)
{
    BigComplex c(bits), z(bits), dz(bits), scratch(bits), delta(bits);
    if (period < 1 || !read(c, guessX, guessY))
        return std::nullopt;
    for (int attempt = 0; attempt < 64; ++attempt) {
        z.setZero();
        dz.setZero();
        for (int n = 0; n < period; ++n) {
            // z' <- 2 z z' + 1, then z <- z^2 + c
            multiplyAdd(dz, z, dz, 0, scratch);
            mpfr_mul_2ui(dz.re.get(), dz.re.get(), 1, MPFR_RNDN);
            mpfr_mul_2ui(dz.im.get(), dz.im.get(), 1, MPFR_RNDN);
            mpfr_add_si(dz.re.get(), dz.re.get(), 1, MPFR_RNDN);
            step(z, c, scratch);
        }
        // delta = z / z', by z conj(z') / |z'|^2
        const ExtendedComplex q = z.toExtended();
        const ExtendedComplex d = dz.toExtended();
        const ExtendedFloat norm = d.norm();
        if (norm.mantissa == 0.0)
            return std::nullopt;
        const ExtendedFloat re = (q.re * d.re + q.im * d.im) / norm;
        const ExtendedFloat im = (q.im * d.re - q.re * d.im) / norm;
        // The correction is computed in extended floats: enough, as it only
        // needs to be right to its own leading digits, and Newton doubles them.
        delta.re.set(re);
        delta.im.set(im);
        mpfr_sub(c.re.get(), c.re.get(), delta.re.get(), MPFR_RNDN);
        mpfr_sub(c.im.get(), c.im.get(), delta.im.get(), MPFR_RNDN);
        const ExtendedFloat moved = sqrt(ExtendedComplex{re, im}.norm());
        // Settled when the step is below the last of the precision's digits.
        const long magnitude = std::max(mpfr_get_exp(c.re.get()), mpfr_get_exp(c.im.get()));
        if (moved.mantissa == 0.0 || moved.exponent < magnitude - bits + 8)
            return finish(c, period, bits);
    }
    return std::nullopt;
}

} // namespace dwell
