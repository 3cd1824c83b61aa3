#pragma once

#include "Display.h"
#include "GraphicsContext.h"
#include "Window.h"

namespace dwell {

// A display that is never shown: the picture lives only in the image buffer.
class HeadlessDisplay : public Display, public Window, public GraphicsContext {
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
    GraphicsContext &currentContext() override { return *this; }
    RGBAColor selectedTextBackgroundColor() const override { return {0, 0, 0, 1}; }

    void makeKeyAndOrderFront() override { displayRect(m_bounds); }
    void setInitialFirstResponder(MyView &) override {}

    void drawImage(const BitmapImage &, NSRect) override {}
    void fillRect(NSRect, RGBAColor, CompositingOperation) override {}
    void frameRect(NSRect, RGBAColor) override {}
    void strokeLine(NSPoint, NSPoint, float) override {}
    void flushGraphics() override {}

private:
    NSRect m_bounds;
    MyView *m_view = nullptr;
};

} // namespace dwell
