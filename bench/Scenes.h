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

// The same window at a high limit, smaller: most of the work is the interior.
inline constexpr KernelScene kDefaultDeepScene{
    "default-20000", -2.5, 384 * (4.0 / 512) / 2, 4.0 / 512, 20000, 512, 384};

// Around the period-3 bulb at the top of the cardioid: nearly all interior.
inline constexpr KernelScene kBulbScene{"bulb3-50000",
                                        -0.1225 - 128 * (0.3 / 256),
                                        0.745 + 96 * (0.3 / 256),
                                        0.3 / 256,
                                        50000,
                                        256,
                                        192};

// A spiral in seahorse valley: long orbits next to quick escapes, almost no interior.
inline constexpr KernelScene kSpiralScene{
    "spiral-4000", -0.7436439 - 256 * 1e-7, 0.1318259 + 192 * 1e-7, 1e-7, 4000, 512, 384};

inline constexpr const KernelScene *kKernelScenes[] = {&kDefaultScene, &kDefaultDeepScene,
                                                       &kBulbScene, &kSpiralScene};

} // namespace dwell
