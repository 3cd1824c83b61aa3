#include "mandel.h"

#include "KernelPaths.h"

namespace dwell {

int mandelLine(double originX, double originY, double escape_radius, double x, double y,
               double step, int maxdwell, int w, int *buf, float *norms)
{
    static const KernelPath path = activeKernelPath();
    return mandelLineWith(path, originX, originY, escape_radius, x, y, step, maxdwell, w, buf,
                          norms);
}

void mandelLines(double originX, double originY, double escape_radius, double x, const double *ys,
                 int lines, double step, int maxdwell, int w, int *buf, float *norms, int *sums)
{
    static const KernelPath path = activeKernelPath();
    mandelLinesWith(path, originX, originY, escape_radius, x, ys, lines, step, maxdwell, w, buf,
                    norms, sums);
}

long long lineIterations(const int *dwells, int w, int maxdwell)
{
    long long sum = 0;
    for (int i = 0; i < w; ++i)
        sum += dwells[i] < 0 ? maxdwell : dwells[i];
    return sum;
}

} // namespace dwell
