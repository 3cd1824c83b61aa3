#include "Perturbation.h"

namespace dwell {

ExtendedComplex DeepWindow::offset(int column, int line) const
{
    // Half-pixel multiples are exact in a double.
    const double across = double(column) - double(width) / 2.0;
    const double down = double(height) / 2.0 - double(line);
    return {ExtendedFloat::of(across) * step, ExtendedFloat::of(down) * step};
}

namespace {

// The pixel's difference d from the reference Z, in the arithmetic of the
// orbit's numbers: doubles where everything fits them, extended floats beyond.
template <class Complex, class Real>
int dwellOf(const std::vector<Complex> &orbit, const Complex &dc, Real bound, int maxDwell)
{
    const std::size_t last = orbit.size() - 1;
    Complex d{};
    std::size_t m = 0;
    for (int n = 0; n < maxDwell; ++n) {
        const Complex z = orbit[m] + d;
        if (bound < z.norm())
            return n;
        // d <- (2 Z + d) d + dc
        d = (orbit[m] + orbit[m] + d) * d + dc;
        ++m;
        const Complex full = orbit[m] + d;
        if (m == last || full.norm() < d.norm()) {
            d = full - orbit[0];
            m = 0;
        }
    }
    return -1;
}

} // namespace

int perturbedDwell(const ReferenceOrbit &orbit, const ExtendedComplex &dc, double escapeRadius,
                   int maxDwell)
{
    // A reference without a step has nothing to perturb.
    if (orbit.size() < 2)
        return -1;
    if (orbit.fitsDoubles() && fitsDouble(dc.re) && fitsDouble(dc.im))
        return dwellOf(orbit.doubles(), DoubleComplex{dc.re.toDouble(), dc.im.toDouble()},
                       escapeRadius, maxDwell);
    return dwellOf(orbit.extended(), dc, ExtendedFloat::of(escapeRadius), maxDwell);
}

} // namespace dwell
