#pragma once

#include "Geometry.h"
#include "RGBAColor.h"

namespace dwell {

class GraphicsContext;
class Window;

// What the explorer view needs from the windowing system's display layer.
class Display {
public:
    virtual ~Display() = default;

    virtual NSRect bounds() const = 0;
    virtual Window *window() = 0;

    // Runs the view's drawing for rect before returning. Main thread only.
    virtual void displayRect(NSRect rect) = 0;
    // Callable from any thread, also while the view's work lock is held: only
    // records the area; the drawing follows later on the main thread.
    virtual void setNeedsDisplayInRect(NSRect rect) = 0;
    virtual void setNeedsDisplay(bool flag) = 0;

    // Drawing outside the display cycle.
    virtual void lockFocus() = 0;
    virtual void unlockFocus() = 0;
    // The context of the drawing in progress or of the focused view.
    virtual GraphicsContext &currentContext() = 0;

    virtual RGBAColor selectedTextBackgroundColor() const = 0;
};

} // namespace dwell
