#pragma once

#include <optional>
#include <string>

namespace dwell {

// Asks a top-level window to close the way a window manager would, with a
// WM_DELETE_WINDOW message. False when the display cannot be opened.
bool requestWindowClose(const std::string &display, unsigned long window);

struct WindowSize {
    int width = 0;
    int height = 0;
};

// A top-level window's size; none when the display cannot be opened or the
// window is gone.
std::optional<WindowSize> windowSize(const std::string &display, unsigned long window);

} // namespace dwell
