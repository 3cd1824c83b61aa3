#include "BilinearTable.h"

#include <cmath>

namespace dwell {

namespace {

// The neglected d^2 stays below this share of the linear terms: a double's rounding.
constexpr double kAccuracy = 0x1p-53;
// A skipped value this close to the escape bound is iterated step by step.
constexpr double kEscapeMargin = 1.0 + 0x1p-30;

double magnitude(const DoubleComplex &z)
{
    return std::sqrt(z.norm());
}
ExtendedFloat magnitude(const ExtendedComplex &z)
{
    return sqrt(z.norm());
}
bool positive(double value)
{
    return value > 0.0;
}
bool positive(const ExtendedFloat &value)
{
    return value.mantissa > 0.0;
}
bool lessThan(double a, double b)
{
    return a < b;
}
bool lessThan(const ExtendedFloat &a, const ExtendedFloat &b)
{
    return (a - b).mantissa < 0.0;
}
template <class Real> Real real(double value)
{
    return value;
}
template <> ExtendedFloat real<ExtendedFloat>(double value)
{
    return ExtendedFloat::of(value);
}
using std::sqrt;

// A radius that is not a positive number allows no step.
template <class Real> Real validRadius(Real radius)
{
    return positive(radius) ? radius : real<Real>(0.0);
}

// Step x then a step y: within x's radius, and x takes d within y's.
template <class Step, class Real> Real mergedRadius(Real rx, Real ry, const Step &x, Real maxOffset)
{
    Real radius = validRadius((ry - magnitude(x.b) * maxOffset) / magnitude(x.a));
    return lessThan(rx, radius) ? rx : radius;
}

template <class Complex> bool escapeFree(const Complex &z, double escapeBound)
{
    using Real = decltype(z.norm());
    return z.norm() * real<Real>(kEscapeMargin) < real<Real>(escapeBound);
}

} // namespace

template <class Complex, class Real>
void BilinearTable<Complex, Real>::buildPrefix(const std::vector<Complex> &orbit,
                                               const Level &single, Real maxOffset,
                                               double escapeBound)
{
    m_prefix.maps.push_back(single.maps[0]);
    m_prefix.radiiSquared.push_back(single.radiiSquared[0]);
    for (std::size_t k = 1; k < single.maps.size(); ++k) {
        const Step &x = m_prefix.maps.back();
        const Step &y = single.maps[k];
        Real radius = mergedRadius(sqrt(m_prefix.radiiSquared.back()), sqrt(single.radiiSquared[k]),
                                   x, maxOffset);
        if (!escapeFree(orbit[1 + k], escapeBound))
            radius = real<Real>(0.0);
        m_prefix.maps.push_back({y.a * x.a, y.a * x.b + y.b});
        m_prefix.radiiSquared.push_back(radius * radius);
    }
}

template <class Complex, class Real>
BilinearTable<Complex, Real>::BilinearTable(const std::vector<Complex> &orbit, Real maxOffset,
                                            double escapeBound)
{
    using Step = BilinearStep<Complex>;
    if (orbit.size() < 3)
        return;
    const Real eps = real<Real>(kAccuracy);
    const Complex one{real<Real>(1.0), real<Real>(0.0)};
    // One step from m: d -> 2 Z(m) d + dc, while d^2 is negligible beside it.
    Level single;
    for (std::size_t m = 1; m + 1 < orbit.size(); ++m) {
        const Complex twoZ = orbit[m] + orbit[m];
        const Real size = magnitude(twoZ);
        const Real radius = validRadius(eps * size - maxOffset / size);
        single.maps.push_back({twoZ, one});
        single.radiiSquared.push_back(radius * radius);
    }
    buildPrefix(orbit, single, maxOffset, escapeBound);
    m_levels.push_back(std::move(single));
    // Step x then step y: a = ay ax, b = ay bx + by, radius within both.
    for (std::size_t length = 2; length < orbit.size(); length *= 2) {
        const Level &below = m_levels.back();
        Level merged;
        for (std::size_t j = 0; 2 * j + 1 < below.maps.size(); ++j) {
            const Step &x = below.maps[2 * j];
            const Step &y = below.maps[2 * j + 1];
            Real radius = mergedRadius(sqrt(below.radiiSquared[2 * j]),
                                       sqrt(below.radiiSquared[2 * j + 1]), x, maxOffset);
            // The iteration between the halves is skipped too: it must not be near escape.
            if (!escapeFree(orbit[1 + (2 * j + 1) * (length / 2)], escapeBound))
                radius = real<Real>(0.0);
            merged.maps.push_back({y.a * x.a, y.a * x.b + y.b});
            merged.radiiSquared.push_back(radius * radius);
        }
        if (merged.maps.empty())
            break;
        m_levels.push_back(std::move(merged));
    }
}

template <class Complex, class Real>
const typename BilinearTable<Complex, Real>::Step *
BilinearTable<Complex, Real>::longestFromStart(Real dNorm, long long maxLength,
                                               long long &length) const
{
    const std::vector<Real> &radii = m_prefix.radiiSquared;
    // The first length whose radius d does not fit, within the limit.
    std::size_t low = 0;
    std::size_t high = std::min<std::size_t>(radii.size(), std::size_t(std::max(maxLength, 0LL)));
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (dNorm < radii[middle])
            low = middle + 1;
        else
            high = middle;
    }
    // A single step is no quicker merged.
    if (low < 2)
        return nullptr;
    length = (long long)low;
    return &m_prefix.maps[low - 1];
}

template <class Complex, class Real> std::size_t BilinearTable<Complex, Real>::bytes() const
{
    std::size_t total = 0;
    for (const Level &level : m_levels)
        total += level.maps.size() * (sizeof(Step) + sizeof(Real));
    total += m_prefix.maps.size() * (sizeof(Step) + sizeof(Real));
    return total;
}

template class BilinearTable<DoubleComplex, double>;
template class BilinearTable<ExtendedComplex, ExtendedFloat>;

} // namespace dwell
