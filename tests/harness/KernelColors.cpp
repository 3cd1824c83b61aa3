#include "KernelColors.h"

#include "DwellColor.h"
#include "KernelOracle.h"

namespace dwell {

std::vector<Rgb> expectedLine(const Scene &scene, int line, int w)
{
    const std::vector<int> dwells = kernelLine(scene, line, w).dwells;
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

} // namespace dwell
