#include "KernelColors.h"

#include "KernelOracle.h"

namespace dwell {

Picture expectedPicture(const Scene &scene, int w, int h)
{
    const std::vector<std::uint8_t> pixels = kernelPixels(scene, w, h);
    Picture lines(std::size_t(h), std::vector<Rgb>(std::size_t(w), Rgb{}));
    for (std::size_t i = 0; 3 * i < pixels.size(); ++i)
        lines[i / std::size_t(w)][i % std::size_t(w)] = {pixels[3 * i], pixels[3 * i + 1],
                                                         pixels[3 * i + 2]};
    return lines;
}

} // namespace dwell
