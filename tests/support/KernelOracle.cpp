#include "KernelOracle.h"

#include "DwellColor.h"
#include "mandel.h"

#include <algorithm>

namespace dwell {

KernelLine kernelLine(const Scene &scene, int line, int w)
{
    const PlaneWindow &plane = scene.window;
    // One slot more than the width, so a write past the line lands in ours.
    std::vector<int> dwells(std::size_t(std::max(w, 0)) + 1);
    mandelLine(scene.originX, scene.originY, scene.escapeRadius, plane.viewX,
               plane.viewY - plane.viewStep * line, plane.viewStep, scene.maxDwell, w,
               dwells.data());
    dwells.resize(std::size_t(std::max(w, 0)));
    return {std::move(dwells)};
}

long long kernelTotal(const Scene &scene, int w, int h)
{
    // From the dwells, in 64 bits: a line's own sum may wrap.
    long long total = 0;
    for (int r = 0; r < h; ++r)
        for (const int dwell : kernelLine(scene, r, w).dwells)
            total += dwell < 0 ? scene.maxDwell : dwell;
    return total;
}

std::vector<std::uint8_t> kernelPixels(const Scene &scene, int w, int h)
{
    std::vector<std::uint8_t> pixels(std::size_t(w) * std::size_t(h) * 3);
    for (int r = 0; r < h; ++r) {
        const std::vector<int> dwells = kernelLine(scene, r, w).dwells;
        for (int c = 0; c < w; ++c)
            storeDwellColor(dwells[std::size_t(c)], &pixels[(std::size_t(r) * w + c) * 3]);
    }
    return pixels;
}

} // namespace dwell
