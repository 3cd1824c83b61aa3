#pragma once

#include <cstddef>
#include <memory>

namespace dwell {

// Each pixel's dwell and |z|^2 one step past its escape, for one or more
// passes over a picture of width x height: the workers of a pass write their
// lines here directly, so nothing is copied under the lock. Rows are read
// only once the view marks them kept.
struct PixelValues {
    PixelValues(int w, int h)
        : width(w), height(h), dwells(new int[std::size_t(w) * std::size_t(h)]),
          norms(new float[std::size_t(w) * std::size_t(h)])
    {
    }

    int *dwellRow(int row) { return dwells.get() + std::size_t(row) * std::size_t(width); }
    float *normRow(int row) { return norms.get() + std::size_t(row) * std::size_t(width); }

    const int width;
    const int height;
    const std::unique_ptr<int[]> dwells;
    const std::unique_ptr<float[]> norms;
};

} // namespace dwell
