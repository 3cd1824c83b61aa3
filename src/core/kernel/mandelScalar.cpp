#include "mandelScalar.h"

#include <cmath>

namespace dwell {

int mandelLineScalar(double originX, double originY, double escape_radius, double x, double y,
                     double step, int maxdwell, int w, int *buf, float *norms)
{
    // Unsigned so that absurd limits wrap instead of overflowing.
    unsigned total = 0;
    if (w <= 0)
        return 0;
    for (int i = 0; i < w; ++i) {
        double Zr = originX;
        double Zi = originY;
        int dwell = 0;
        while (dwell < maxdwell) {
            const double tmp1 = Zr * Zr;
            const double tmp2 = Zi * Zi;
            Zi = std::fma(Zr + Zr, Zi, y);
            Zr = (tmp1 - tmp2) + x;
            // Tests the iterate before this step's update; a NaN never escapes.
            if (tmp1 + tmp2 > escape_radius)
                break;
            ++dwell;
        }
        buf[i] = dwell == maxdwell ? -1 : dwell;
        if (norms)
            norms[i] = dwell == maxdwell ? 0.0f : float(Zr * Zr + Zi * Zi);
        total += unsigned(dwell);
        x += step;
    }
    return int(total);
}

} // namespace dwell
