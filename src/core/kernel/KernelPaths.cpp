#include "KernelPaths.h"

#include "mandelScalar.h"
#include "mandelWide.h"

#include <cstddef>
#include <cstdlib>
#include <string_view>

namespace dwell {

namespace {

using LineKernel = int (*)(double, double, double, double, double, double, int, int, int *,
                           float *);

LineKernel kernelOf(KernelPath path)
{
    switch (path) {
    case KernelPath::Avx2:
        return mandelLineAvx2;
    case KernelPath::Avx512:
        return mandelLineAvx512;
    case KernelPath::Scalar:
        break;
    }
    return mandelLineScalar;
}

KernelPath runnable(KernelPath path)
{
    return isAvailable(path) ? path : bestAvailablePath();
}

} // namespace

const char *kernelPathName(KernelPath path)
{
    switch (path) {
    case KernelPath::Avx2:
        return "avx2";
    case KernelPath::Avx512:
        return "avx512";
    case KernelPath::Scalar:
        break;
    }
    return "scalar";
}

bool isAvailable(KernelPath path)
{
    __builtin_cpu_init();
    switch (path) {
    case KernelPath::Avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case KernelPath::Avx512:
        return __builtin_cpu_supports("avx512f");
    case KernelPath::Scalar:
        break;
    }
    return true;
}

KernelPath bestAvailablePath()
{
    for (const KernelPath path : {KernelPath::Avx512, KernelPath::Avx2})
        if (isAvailable(path))
            return path;
    return KernelPath::Scalar;
}

KernelPath chooseKernelPath(const char *requested)
{
    if (requested)
        for (const KernelPath path : kAllKernelPaths)
            if (std::string_view(requested) == kernelPathName(path))
                return runnable(path);
    return bestAvailablePath();
}

KernelPath activeKernelPath()
{
    static const KernelPath path = chooseKernelPath(std::getenv("DWELL_KERNEL"));
    return path;
}

int mandelLineWith(KernelPath path, double originX, double originY, double escape_radius, double x,
                   double y, double step, int maxdwell, int w, int *buf, float *norms)
{
    return kernelOf(runnable(path))(originX, originY, escape_radius, x, y, step, maxdwell, w, buf,
                                    norms);
}

void mandelLinesWith(KernelPath path, double originX, double originY, double escape_radius,
                     double x, const double *ys, int lines, double step, int maxdwell, int w,
                     int *buf, float *norms, int *sums)
{
    // Lines share lanes only on the wide paths, and only from this limit on:
    // below it a line's slowest pixels end soon, and the block's bookkeeping
    // costs more than sharing the lanes saves (measured on AVX2).
    constexpr int kBlocksFromLimit = 4096;
    const KernelPath runs = runnable(path);
    if (runs == KernelPath::Scalar || maxdwell < kBlocksFromLimit || w <= 0 || lines <= 0) {
        const LineKernel kernel = kernelOf(runs);
        for (int line = 0; line < lines; ++line) {
            const std::ptrdiff_t offset = std::ptrdiff_t(line) * w;
            sums[line] = kernel(originX, originY, escape_radius, x, ys[line], step, maxdwell, w,
                                buf + offset, norms ? norms + offset : nullptr);
        }
        return;
    }
    (runs == KernelPath::Avx2 ? mandelLinesAvx2 : mandelLinesAvx512)(
        originX, originY, escape_radius, x, ys, lines, step, maxdwell, w, buf, norms, sums);
}

} // namespace dwell
