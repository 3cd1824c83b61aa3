#include "Coloring.h"

#include "DwellColors.h"

#include <cmath>

namespace dwell {

float continuousDwell(int dwell, float norm, float bound)
{
    if (!(bound > 1.0f) || !(norm > 1.0f))
        return float(dwell);
    return float(dwell) + 2.0f - std::log2(std::log(norm) / std::log(bound));
}

void colorLine(const Coloring &coloring, const int *dwells, const float *norms, int count,
               float bound, std::uint8_t *pixels)
{
    if (coloring.digits()) {
        storeDwellColors(dwells, count, pixels);
        return;
    }
    const Palette &palette = *coloring.palette;
    const double turnsPerDwell = coloring.density / 32.0;
    for (int i = 0; i < count; ++i) {
        std::uint8_t *pixel = pixels + 3 * i;
        const std::uint8_t *rgb =
            dwells[i] < 0 ? coloring.interior.data()
                          : palette.at(coloring.offset +
                                       turnsPerDwell * continuousDwell(dwells[i], norms[i], bound));
        pixel[0] = rgb[0];
        pixel[1] = rgb[1];
        pixel[2] = rgb[2];
    }
}

} // namespace dwell
