#pragma once

#include "KernelColors.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dwell {

// A window's contents as ImageMagick's import grabs them.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;

    // Empty when the window cannot be read.
    static Screenshot ofWindow(const std::string &display, const std::string &window);

    Rgb at(int x, int y) const
    {
        const std::size_t i = 3 * (std::size_t(y) * std::size_t(width) + std::size_t(x));
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
    // The share of the picture's pixels the shot's top-left shows exactly; 0 if it is smaller.
    double shareMatching(const Picture &expected) const;
    // The shot without its top rows.
    Screenshot below(int rows) const;
};

} // namespace dwell
