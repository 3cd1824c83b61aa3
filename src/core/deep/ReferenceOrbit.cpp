#include "ReferenceOrbit.h"

#include "BigFloat.h"

#include <algorithm>

namespace dwell {

ReferenceOrbit ReferenceOrbit::compute(const ReferencePoint &point,
                                       const std::function<bool(long long)> &cancelled)
{
    const mpfr_prec_t bits = std::max<long>(point.precision, MPFR_PREC_MIN);
    BigFloat cx(bits), cy(bits), zr(bits), zi(bits), zr2(bits), zi2(bits), bound(bits);
    ReferenceOrbit orbit;
    if (!cx.set(point.centerX) || !cy.set(point.centerY))
        return orbit;
    zr.set(point.originX);
    zi.set(point.originY);
    bound.set(point.escapeRadius);
    BigFloat modulus(bits);
    const int limit = std::max(point.maxDwell, 0);
    const ExtendedComplex origin{ExtendedFloat::of(point.originX),
                                 ExtendedFloat::of(point.originY)};
    const ExtendedComplex one{ExtendedFloat::of(1.0), {}};
    const ExtendedFloat pixelsApart = point.step * point.step * ExtendedFloat::of(0x1p-40);
    // dZ/dC, for how far apart the pixels' orbits have drifted.
    ExtendedComplex derivative{};
    for (int n = 0;; ++n) {
        orbit.append({zr.toExtended(), zi.toExtended()});
        if (n == limit)
            break;
        mpfr_sqr(zr2.get(), zr.get(), MPFR_RNDN);
        mpfr_sqr(zi2.get(), zi.get(), MPFR_RNDN);
        mpfr_add(modulus.get(), zr2.get(), zi2.get(), MPFR_RNDN);
        const bool escaped = mpfr_greater_p(modulus.get(), bound.get()) != 0;
        // zi <- 2 zr zi + cy, zr <- zr^2 - zi^2 + cx
        mpfr_mul(zi.get(), zi.get(), zr.get(), MPFR_RNDN);
        mpfr_mul_2ui(zi.get(), zi.get(), 1, MPFR_RNDN);
        mpfr_add(zi.get(), zi.get(), cy.get(), MPFR_RNDN);
        mpfr_sub(zr.get(), zr2.get(), zi2.get(), MPFR_RNDN);
        mpfr_add(zr.get(), zr.get(), cx.get(), MPFR_RNDN);
        const ExtendedComplex previous = orbit.m_orbit.back();
        derivative = (previous + previous) * derivative + one;
        const ExtendedComplex z{zr.toExtended(), zi.toExtended()};
        // One step past the escape, so a pixel can step onto it. Or the
        // origin again, far closer than the pixels' orbits are to each other
        // (a minibrot's nucleus): every pixel would rebase there anyway.
        if (escaped || (z - origin).norm() < derivative.norm() * pixelsApart) {
            orbit.append(z);
            break;
        }
        if (n % 4096 == 4095 && cancelled && cancelled(n + 1)) {
            orbit.m_orbit.clear();
            orbit.m_doubles.clear();
            break;
        }
    }
    return orbit;
}

void ReferenceOrbit::append(const ExtendedComplex &z)
{
    m_orbit.push_back(z);
    m_doubles.push_back({z.re.toDouble(), z.im.toDouble()});
    m_fitsDoubles = m_fitsDoubles && fitsDouble(z.re) && fitsDouble(z.im);
}

bool fitsDouble(const ExtendedFloat &value)
{
    // Past these, a step's products could leave the normal range.
    return value.mantissa == 0.0 || (value.exponent > -960 && value.exponent < 960);
}

long referencePrecision(const ExtendedFloat &step)
{
    // The step's binary exponent, plus room for the orbit's growth and rounding.
    return std::max<long>(64, long(-step.exponent) + 96);
}

} // namespace dwell
