#pragma once

namespace dwell {

// A picture computed line by line, the way the workers walk the plane.
struct KernelScene {
    const char *name;
    double x;    // real part of column 0
    double yTop; // imaginary part of line 0
    double step;
    int maxdwell;
    int width;
    int height;
};

// The view the explorer opens with: 1024 x 768, limit 1000, bound 4.
inline constexpr KernelScene kDefaultScene{
    "default", -2.5, 768 * (4.0 / 1024) / 2, 4.0 / 1024, 1000, 1024, 768};

// A deep, busy window in seahorse valley: long orbits next to quick escapes.
inline constexpr KernelScene kSeahorseScene{
    "seahorse", -0.7436439 - 256 * 1e-7, 0.1318259 + 192 * 1e-7, 1e-7, 5000, 512, 384};

} // namespace dwell
