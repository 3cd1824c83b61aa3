#pragma once

#include "Palette.h"

#include <array>
#include <cstdint>

namespace dwell {

// A line coloured by a palette: each escaped pixel takes the colour at
// offset + turnsPerDwell * (dwell + fraction), the fraction coming from
// its norm; bounded pixels (dwell < 0) take the interior colour.
struct PaletteLine {
    const Palette *palette;
    double offset;
    double turnsPerDwell;
    std::array<std::uint8_t, 3> interior;
    // fastLog2(fastLog2(bound)), and whether the bound gives a scale at all.
    float boundTerm;
    bool scaled;
};

// The ways of colouring such a line, pixel for pixel the same: the first
// runs on every x86-64; the second is built for AVX2 alone: call it only
// when the CPU has it.
void colorPaletteLineScalar(const PaletteLine &line, const int *dwells, const float *norms,
                            int count, std::uint8_t *pixels);
void colorPaletteLineAvx2(const PaletteLine &line, const int *dwells, const float *norms, int count,
                          std::uint8_t *pixels);

} // namespace dwell
