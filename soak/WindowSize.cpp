#include "WindowSize.h"

#include <X11/Xlib.h>

namespace dwell {

namespace {

// A window that is gone answers with an error, which must not end the caller.
int ignoreError(::Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

std::optional<WindowSize> windowSize(const std::string &display, const std::string &window)
{
    if (window.empty())
        return std::nullopt;
    ::Display *connection = XOpenDisplay(display.c_str());
    if (!connection)
        return std::nullopt;
    const auto previousHandler = XSetErrorHandler(ignoreError);
    std::optional<WindowSize> size;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(connection, std::stoul(window), &attributes))
        size = WindowSize{attributes.width, attributes.height};
    XCloseDisplay(connection);
    XSetErrorHandler(previousHandler);
    return size;
}

} // namespace dwell
