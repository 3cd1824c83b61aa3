#include "Perturbation.h"

#include "ScaledDifference.h"

#include <algorithm>
#include <cmath>

namespace dwell {

ExtendedComplex DeepWindow::offset(int column, int line) const
{
    // Half-pixel multiples are exact in a double.
    const double across = double(column) - double(width) / 2.0;
    const double down = double(height) / 2.0 - double(line);
    return {ExtendedFloat::of(across) * step, ExtendedFloat::of(down) * step};
}

ExtendedFloat DeepWindow::maxOffset() const
{
    // The top-left pixel is the farthest from the centre.
    return sqrt(offset(0, 0).norm());
}

namespace {

// d <- (2 Z + d) d + dc: one step of the difference d from the reference's Z.
template <class Complex> Complex stepped(const Complex &z, const Complex &d, const Complex &dc)
{
    return (z + z + d) * d + dc;
}

// |z|^2 one step past an escape at index m, as the plain kernel gives it.
template <class Complex>
auto normPastEscape(const std::vector<Complex> &orbit, std::size_t m, const Complex &d,
                    const Complex &dc)
{
    return (orbit[m + 1] + stepped(orbit[m], d, dc)).norm();
}

// The pixel's difference d from the reference Z in doubles, taking the
// table's merged steps wherever d allows.
int dwellOf(const std::vector<DoubleComplex> &orbit,
            const BilinearTable<DoubleComplex, double> &table, const DoubleComplex &dc,
            double bound, int maxDwell, double *norm)
{
    const std::size_t last = orbit.size() - 1;
    DoubleComplex d{};
    std::size_t m = 0;
    for (long long n = 0; n < maxDwell;) {
        const DoubleComplex z = orbit[m] + d;
        if (bound < z.norm()) {
            if (norm)
                *norm = normPastEscape(orbit, m, d, dc);
            return int(n);
        }
        long long length = 1;
        if (const auto *step = table.longest(m, d.norm(), maxDwell - n, length))
            d = step->a * d + step->b * dc;
        else
            d = stepped(orbit[m], d, dc);
        m += std::size_t(length);
        n += length;
        const DoubleComplex full = orbit[m] + d;
        if (m == last || !(d.norm() < full.norm())) {
            d = full - orbit[0];
            m = 0;
        }
    }
    if (norm)
        *norm = 0.0;
    return -1;
}

// The extended floats' loop with the difference kept scaled: each step runs
// in doubles, except where the reference comes near zero or a merged step
// applies, which go through extended floats as above.
int scaledDwellOf(const ReferenceOrbit &reference,
                  const BilinearTable<ExtendedComplex, ExtendedFloat> &table,
                  const ExtendedComplex &dc, double bound, int maxDwell, double *norm)
{
    const std::vector<ExtendedComplex> &orbit = reference.extended();
    const std::vector<DoubleComplex> &doubles = reference.doubles();
    const ExtendedFloat extendedBound = ExtendedFloat::of(bound);
    const std::size_t last = orbit.size() - 1;
    const auto small = [&](std::size_t m) {
        return std::max(std::fabs(doubles[m].re), std::fabs(doubles[m].im)) <
               ScaledDifference::kMinReference;
    };
    ScaledDifference d(dc);
    std::size_t m = 0;
    for (long long n = 0; n < maxDwell;) {
        long long length = 1;
        const auto *merged =
            table.empty() ? nullptr : table.longest(m, d.norm(), maxDwell - n, length);
        if (merged || small(m)) {
            const ExtendedComplex e = d.extended();
            const ExtendedComplex z = orbit[m] + e;
            if (extendedBound < z.norm()) {
                if (norm)
                    *norm = normPastEscape(orbit, m, e, dc).toDouble();
                return int(n);
            }
            d.set(merged ? merged->a * e + merged->b * dc : stepped(orbit[m], e, dc));
        } else {
            const DoubleComplex z = doubles[m] + d.approx();
            if (bound < z.norm()) {
                if (norm)
                    *norm = normPastEscape(orbit, m, d.extended(), dc).toDouble();
                return int(n);
            }
            d.step(doubles[m]);
        }
        m += std::size_t(length);
        n += length;
        bool rebase = m == last;
        if (!rebase && small(m)) {
            rebase = !(d.norm() < (orbit[m] + d.extended()).norm());
        } else if (!rebase && !d.farBelowReferences()) {
            // Squares of d stay normal doubles here.
            const DoubleComplex full = doubles[m] + d.approx();
            rebase = !(d.approx().norm() < full.norm());
        }
        if (rebase) {
            d.set(orbit[m] + d.extended() - orbit[0]);
            m = 0;
        }
    }
    if (norm)
        *norm = 0.0;
    return -1;
}

} // namespace

Perturbation::Perturbation(const ReferenceOrbit &orbit, const DeepWindow &window,
                           double escapeRadius, Shortcuts shortcuts)
    : m_orbit(orbit), m_escapeRadius(escapeRadius),
      m_inDoubles(orbit.fitsDoubles() && fitsDouble(window.step) && fitsDouble(window.maxOffset()))
{
    if (shortcuts == Shortcuts::None)
        return;
    if (m_inDoubles)
        m_doubleTable = {orbit.doubles(), window.maxOffset().toDouble(), escapeRadius};
    else
        m_extendedTable = {orbit.extended(), window.maxOffset(), escapeRadius};
}

int Perturbation::dwell(const ExtendedComplex &dc, int maxDwell, double *norm) const
{
    // A reference without a step has nothing to perturb.
    if (m_orbit.size() < 2) {
        if (norm)
            *norm = 0.0;
        return -1;
    }
    if (m_inDoubles)
        return dwellOf(m_orbit.doubles(), m_doubleTable,
                       DoubleComplex{dc.re.toDouble(), dc.im.toDouble()}, m_escapeRadius, maxDwell,
                       norm);
    return scaledDwellOf(m_orbit, m_extendedTable, dc, m_escapeRadius, maxDwell, norm);
}

} // namespace dwell
