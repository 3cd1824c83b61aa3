#pragma once

#include <string>

namespace dwell {

// Asks a top-level window to close the way a window manager would, with a
// WM_DELETE_WINDOW message. False when the display cannot be opened.
bool requestWindowClose(const std::string &display, unsigned long window);

} // namespace dwell
