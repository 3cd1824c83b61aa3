#pragma once

#include <cstdint>

namespace dwell {

// The pixel for a dwell: one hexadecimal digit of the dwell per channel,
// lowest in red. A point that stayed bounded (-1) is black.
inline void storeDwellColor(int dwell, std::uint8_t *pixel)
{
    if (dwell == -1) {
        pixel[0] = pixel[1] = pixel[2] = 0;
        return;
    }
    pixel[0] = std::uint8_t(16 * (dwell % 16));
    pixel[1] = std::uint8_t(16 * ((dwell / 16) % 16));
    pixel[2] = std::uint8_t(16 * ((dwell / 256) % 16));
}

} // namespace dwell
