#pragma once

#include <optional>
#include <string>

namespace dwell {

struct WindowSize {
    int width = 0;
    int height = 0;
};

// A top-level window's size; none when the display cannot be opened or the
// window is gone.
std::optional<WindowSize> windowSize(const std::string &display, const std::string &window);

} // namespace dwell
