#pragma once

#include <cstdint>

namespace dwell {

// The ways of colouring a line, with storeDwellColors's contract. The scalar
// one is the reference; the AVX2 one is built for AVX2 alone: call it only
// when the CPU has it.
void storeDwellColorsScalar(const int *dwells, int count, std::uint8_t *pixels);
void storeDwellColorsAvx2(const int *dwells, int count, std::uint8_t *pixels);

} // namespace dwell
