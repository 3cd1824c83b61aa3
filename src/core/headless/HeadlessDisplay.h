#pragma once

#include "Display.h"
#include "NullGraphicsContext.h"
#include "Window.h"

namespace dwell {

// A display that is never shown: the picture lives only in the image buffer.
class HeadlessDisplay : public Display, public Window {
public:
    explicit HeadlessDisplay(NSSize size) : m_bounds{{0, 0}, size} {}
    void attach(MyView &view) { m_view = &view; }

    NSRect bounds() const override { return m_bounds; }
    Window *window() override { return this; }
    void displayRect(NSRect rect) override;
    void setNeedsDisplayInRect(NSRect) override {}
    void setNeedsDisplay(bool) override {}
    void lockFocus() override {}
    void unlockFocus() override {}
    GraphicsContext &currentContext() override { return m_context; }
    RGBAColor selectedTextBackgroundColor() const override { return {0, 0, 0, 1}; }

    void makeKeyAndOrderFront() override { displayRect(m_bounds); }
    void setInitialFirstResponder(MyView &) override {}

private:
    NSRect m_bounds;
    MyView *m_view = nullptr;
    NullGraphicsContext m_context;
};

} // namespace dwell
