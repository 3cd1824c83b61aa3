#pragma once

#include <array>

namespace dwell {

// The implementations of the line kernel. All give identical dwells and sums;
// they differ only in speed and in the instructions they need.
enum class KernelPath { Scalar, Avx2, Avx512 };

inline constexpr std::array kAllKernelPaths{KernelPath::Scalar, KernelPath::Avx2,
                                            KernelPath::Avx512};

// Lower-case name, as DWELL_KERNEL spells it.
const char *kernelPathName(KernelPath path);
bool isAvailable(KernelPath path);
KernelPath bestAvailablePath();
// The path a DWELL_KERNEL value asks for, when it names one this CPU runs;
// otherwise (including no value at all) the best available.
KernelPath chooseKernelPath(const char *requested);
// The path mandelLine uses, chosen once per process.
KernelPath activeKernelPath();

// mandelLine on the given path; an unavailable path runs the best available.
// mandelLines likewise.
int mandelLineWith(KernelPath path, double originX, double originY, double escape_radius, double x,
                   double y, double step, int maxdwell, int w, int *buf, float *norms = nullptr);
void mandelLinesWith(KernelPath path, double originX, double originY, double escape_radius,
                     double x, const double *ys, int lines, double step, int maxdwell, int w,
                     int *buf, float *norms, int *sums);

} // namespace dwell
