#pragma once

#include "KernelPaths.h"

#include <cstdint>

namespace dwell {

// A line of dwells as pixels, exactly as storeDwellColor colours each one:
// 3 * count bytes, nothing written past them.
void storeDwellColors(const int *dwells, int count, std::uint8_t *pixels);

// Whether colouring for a kernel path uses the AVX2 routines: every wide
// kernel's CPU has AVX2, and a forced scalar kernel colours in scalar too.
bool colorsWithAvx2(KernelPath path);

// The same on a given path's instructions; an unavailable path colours as
// the best available one does.
void storeDwellColorsWith(KernelPath path, const int *dwells, int count, std::uint8_t *pixels);

} // namespace dwell
