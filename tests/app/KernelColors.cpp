#include "KernelColors.h"

#include "mandel.h"

Rgb colorOfDwell(int dwell)
{
    if (dwell == -1)
        return {0, 0, 0};
    return {std::uint8_t(16 * (dwell % 16)), std::uint8_t(16 * ((dwell / 16) % 16)),
            std::uint8_t(16 * ((dwell / 256) % 16))};
}

std::vector<Rgb> expectedLine(const PlaneWindow &plane, int line, int w, int maxDwell,
                              double escapeRadius)
{
    std::vector<int> dwells(std::size_t(w) + 1);
    mandelLine(0.0, 0.0, escapeRadius, plane.viewX, plane.viewY - plane.viewStep * line,
               plane.viewStep, maxDwell, w, dwells.data());
    std::vector<Rgb> colors;
    colors.reserve(std::size_t(w));
    for (int i = 0; i < w; ++i)
        colors.push_back(colorOfDwell(dwells[std::size_t(i)]));
    return colors;
}
