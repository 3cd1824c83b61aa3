#include "Perturbation.h"

namespace dwell {

ExtendedComplex DeepWindow::offset(int column, int line) const
{
    // Half-pixel multiples are exact in a double.
    const double across = double(column) - double(width) / 2.0;
    const double down = double(height) / 2.0 - double(line);
    return {ExtendedFloat::of(across) * step, ExtendedFloat::of(down) * step};
}

int perturbedDwell(const ReferenceOrbit &orbit, const ExtendedComplex &dc, double escapeRadius,
                   int maxDwell)
{
    // A reference without a step has nothing to perturb.
    if (orbit.size() < 2)
        return -1;
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

} // namespace dwell
