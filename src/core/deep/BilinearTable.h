#pragma once

#include "ComplexOf.h"

#include <cstddef>
#include <vector>

namespace dwell {

// Many perturbation steps merged into one linear map, d -> a d + b dc.
template <class Complex> struct BilinearStep {
    Complex a;
    Complex b;
};

// Bilinear approximation of a reference orbit: for each index m (from 1) the
// steps of 2^level iterations that start there when m - 1 is a multiple of
// 2^level. Radii keep the neglected square of d below the rounding of the
// linear terms, and a step never skips an iteration whose value could pass the
// escape bound, so a pixel's dwell is the one single steps would give.
template <class Complex, class Real> class BilinearTable {
public:
    using Step = BilinearStep<Complex>;

    BilinearTable() = default;
    // maxOffset is the largest |dc| of the picture's pixels.
    BilinearTable(const std::vector<Complex> &orbit, Real maxOffset, double escapeBound);

    // The longest step from index m that d's squared modulus allows, of at
    // most maxLength iterations; nullptr when none does. Sets length.
    const Step *longest(std::size_t m, Real dNorm, long long maxLength, long long &length) const
    {
        if (m == 1 && !m_prefix.maps.empty())
            return longestFromStart(dNorm, maxLength, length);
        const Step *found = nullptr;
        const std::size_t i = m - 1;
        // The radii apart from the maps, so that the search reads little memory.
        for (std::size_t level = 0; level < m_levels.size(); ++level) {
            const Level &steps = m_levels[level];
            const std::size_t j = i >> level;
            if (m == 0 || j >= steps.radiiSquared.size() || (j << level) != i ||
                (1LL << level) > maxLength || !(dNorm < steps.radiiSquared[j]))
                break;
            // A single step is no quicker merged.
            if (level > 0) {
                found = &steps.maps[j];
                length = 1LL << level;
            }
        }
        return found;
    }

    bool empty() const { return m_levels.empty(); }
    std::size_t bytes() const;

private:
    // Every pixel passes index 1 right after its start and each rebasing: from
    // there a step of any length, the longest found by bisection, as the radii
    // only shrink with the length.
    const Step *longestFromStart(Real dNorm, long long maxLength, long long &length) const;
    struct Level;
    void buildPrefix(const std::vector<Complex> &orbit, const Level &single, Real maxOffset,
                     double escapeBound);

    struct Level {
        std::vector<Step> maps;
        std::vector<Real> radiiSquared;
    };
    std::vector<Level> m_levels;
    // Steps from index 1 of 1, 2, 3, ... iterations.
    Level m_prefix;
};

extern template class BilinearTable<DoubleComplex, double>;
extern template class BilinearTable<ExtendedComplex, ExtendedFloat>;

} // namespace dwell
