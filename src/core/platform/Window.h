#pragma once

namespace dwell {

class MyView;

// The window that holds the view.
class Window {
public:
    virtual ~Window() = default;

    // Shows the window in front. The view has been drawn once when it returns.
    virtual void makeKeyAndOrderFront() = 0;
    // Key events go to this view.
    virtual void setInitialFirstResponder(MyView &view) = 0;
};

} // namespace dwell
