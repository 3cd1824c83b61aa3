#include "X11Session.h"

#include <X11/Xlib.h>

namespace dwell {

namespace {

// A window that is gone answers with an error, which must not end the caller.
int ignoreError(::Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

bool requestWindowClose(const std::string &display, unsigned long window)
{
    ::Display *connection = XOpenDisplay(display.c_str());
    if (!connection)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection, window, False, NoEventMask, &event);
    XFlush(connection);
    XCloseDisplay(connection);
    return true;
}

std::optional<WindowSize> windowSize(const std::string &display, unsigned long window)
{
    ::Display *connection = XOpenDisplay(display.c_str());
    if (!connection)
        return std::nullopt;
    const auto previousHandler = XSetErrorHandler(ignoreError);
    std::optional<WindowSize> size;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(connection, window, &attributes))
        size = WindowSize{attributes.width, attributes.height};
    XCloseDisplay(connection);
    XSetErrorHandler(previousHandler);
    return size;
}

} // namespace dwell
