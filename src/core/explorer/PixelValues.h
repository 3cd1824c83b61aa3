#pragma once

#include "CacheAligned.h"

#include <cstddef>

namespace dwell {

// Each pixel's dwell and |z|^2 one step past its escape, for one or more
// passes over a picture of width x height: the workers of a pass write their
// lines here directly, so nothing is copied under the lock. Rows are read
// only once the view marks them kept.
struct PixelValues {
    PixelValues(int w, int h)
        : width(w), height(h), stride(paddedRow(w)),
          dwells(makeCacheAligned<int>(stride * std::size_t(h))),
          norms(makeCacheAligned<float>(stride * std::size_t(h)))
    {
    }

    int *dwellRow(int row) { return dwells.get() + std::size_t(row) * stride; }
    float *normRow(int row) { return norms.get() + std::size_t(row) * stride; }

    const int width;
    const int height;

private:
    // Whole cache lines per row: the workers write neighbouring rows at the same time.
    static std::size_t paddedRow(int w)
    {
        constexpr std::size_t perLine = kCacheLine / sizeof(int);
        static_assert(sizeof(int) == sizeof(float));
        return (std::size_t(w) + perLine - 1) / perLine * perLine;
    }

    const std::size_t stride;
    const CacheAlignedArray<int> dwells;
    const CacheAlignedArray<float> norms;
};

} // namespace dwell
