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

// Every quantity in extended floats: for depths past the doubles' range.
int extendedDwell(const ReferenceOrbit &orbit, const ExtendedComplex &dc, double escapeRadius,
                  int maxDwell)
{
    const ExtendedFloat bound = ExtendedFloat::of(escapeRadius);
    const ExtendedFloat two = ExtendedFloat::of(2.0);
    const std::size_t last = orbit.size() - 1;
    ExtendedComplex d{};
    std::size_t m = 0;
    for (int n = 0; n < maxDwell; ++n) {
        const ExtendedComplex z = orbit[m] + d;
        if (bound < z.norm())
            return n;
        // d <- (2 Z + d) d + dc
        const ExtendedComplex twiceZ{two * orbit[m].re, two * orbit[m].im};
        d = (twiceZ + d) * d + dc;
        ++m;
        const ExtendedComplex full = orbit[m] + d;
        if (m == last || full.norm() < d.norm()) {
            d = full - orbit[0];
            m = 0;
        }
    }
    return -1;
}

// The same steps in plain doubles, where every quantity has room in them.
int doubleDwell(const ReferenceOrbit &orbit, double dcr, double dci, double escapeRadius,
                int maxDwell)
{
    const double *Z = orbit.doubles().data();
    const std::size_t last = orbit.size() - 1;
    double dr = 0.0, di = 0.0;
    std::size_t m = 0;
    for (int n = 0; n < maxDwell; ++n) {
        const double zr = Z[2 * m] + dr;
        const double zi = Z[2 * m + 1] + di;
        if (zr * zr + zi * zi > escapeRadius)
            return n;
        const double ar = 2.0 * Z[2 * m] + dr;
        const double ai = 2.0 * Z[2 * m + 1] + di;
        const double nr = ar * dr - ai * di + dcr;
        di = ar * di + ai * dr + dci;
        dr = nr;
        ++m;
        const double fr = Z[2 * m] + dr;
        const double fi = Z[2 * m + 1] + di;
        if (m == last || fr * fr + fi * fi < dr * dr + di * di) {
            dr = fr - Z[0];
            di = fi - Z[1];
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
        return doubleDwell(orbit, dc.re.toDouble(), dc.im.toDouble(), escapeRadius, maxDwell);
    return extendedDwell(orbit, dc, escapeRadius, maxDwell);
}

} // namespace dwell
