#include "KernelColors.h"

#include "DwellColor.h"
#include "mandel.h"

std::vector<Rgb> expectedLine(const Scene &scene, int line, int w)
{
    const PlaneWindow &plane = scene.window;
    std::vector<int> dwells(std::size_t(w) + 1);
    mandelLine(scene.originX, scene.originY, scene.escapeRadius, plane.viewX,
               plane.viewY - plane.viewStep * line, plane.viewStep, scene.maxDwell, w,
               dwells.data());
    std::vector<Rgb> colors;
    colors.reserve(std::size_t(w));
    for (int i = 0; i < w; ++i) {
        Rgb &color = colors.emplace_back();
        storeDwellColor(dwells[std::size_t(i)], color.data());
    }
    return colors;
}

Picture expectedPicture(const Scene &scene, int w, int h)
{
    Picture lines;
    lines.reserve(std::size_t(h));
    for (int line = 0; line < h; ++line)
        lines.push_back(expectedLine(scene, line, w));
    return lines;
}
