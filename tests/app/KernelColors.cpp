#include "KernelColors.h"

#include "mandel.h"

Rgb colorOfDwell(int dwell)
{
    if (dwell == -1)
        return {0, 0, 0};
    return {std::uint8_t(16 * (dwell % 16)), std::uint8_t(16 * ((dwell / 16) % 16)),
            std::uint8_t(16 * ((dwell / 256) % 16))};
}

std::vector<Rgb> expectedLine(const Scene &scene, int line, int w)
{
    const PlaneWindow &plane = scene.window;
    std::vector<int> dwells(std::size_t(w) + 1);
    mandelLine(scene.originX, scene.originY, scene.escapeRadius, plane.viewX,
               plane.viewY - plane.viewStep * line, plane.viewStep, scene.maxDwell, w,
               dwells.data());
    std::vector<Rgb> colors;
    colors.reserve(std::size_t(w));
    for (int i = 0; i < w; ++i)
        colors.push_back(colorOfDwell(dwells[std::size_t(i)]));
    return colors;
}

std::vector<Rgb> expectedLine(const PlaneWindow &plane, int line, int w, int maxDwell,
                              double escapeRadius)
{
    return expectedLine(Scene{plane, 0.0, 0.0, maxDwell, escapeRadius}, line, w);
}

Picture expectedPicture(const Scene &scene, int w, int h)
{
    Picture lines;
    lines.reserve(std::size_t(h));
    for (int line = 0; line < h; ++line)
        lines.push_back(expectedLine(scene, line, w));
    return lines;
}
