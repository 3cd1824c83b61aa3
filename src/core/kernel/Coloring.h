#pragma once

#include "KernelPaths.h"
#include "Palette.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace dwell {

// How dwells become pixels: the dwell's digits (the default), or a palette
// along each pixel's continuous dwell, repeating every 32 / density dwells
// and shifted by offset turns; bounded points take the interior colour.
struct Coloring {
    std::shared_ptr<const Palette> palette;
    // What the palette goes by where locations and pictures record it.
    std::string name = "digits";
    double density = 1.0;
    double offset = 0.0;
    std::array<std::uint8_t, 3> interior{0, 0, 0};

    bool digits() const { return !palette; }
};

// An escaped pixel's dwell plus a fraction from |z|^2 one step past its
// escape, so that the value grows smoothly across the dwell's bands:
// dwell + 2 - log2(log norm / log bound), to about 1e-3. The dwell itself
// where the bound is 1 or less, which gives no scale, or the norm infinite.
float continuousDwell(int dwell, float norm, float bound);

// A line as pixels: the digits exactly as storeDwellColors gives them; a
// palette by each pixel's continuous dwell.
void colorLine(const Coloring &coloring, const int *dwells, const float *norms, int count,
               float bound, std::uint8_t *pixels);
// The same on a given path's instructions, pixel for pixel; an unavailable
// path colours as the best available one does.
void colorLineWith(KernelPath path, const Coloring &coloring, const int *dwells, const float *norms,
                   int count, float bound, std::uint8_t *pixels);

} // namespace dwell
