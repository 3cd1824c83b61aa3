#pragma once

#include "KernelPaths.h"

#include <cstdint>

namespace dwell {

// A line of dwells as pixels, exactly as storeDwellColor colours each one:
// 3 * count bytes, nothing written past them.
void storeDwellColors(const int *dwells, int count, std::uint8_t *pixels);

// The same on a given path's instructions; an unavailable path colours as
// the best available one does.
void storeDwellColorsWith(KernelPath path, const int *dwells, int count, std::uint8_t *pixels);

} // namespace dwell
