#pragma once

#include "DetachedThreads.h"
#include "Display.h"
#include "PendingRedisplays.h"
#include "Window.h"

#include <QElapsedTimer>
#include <QRect>

#include <memory>

namespace dwell {

class ExplorerWidget;
class MyView;
class SurfaceContext;

// The windowing operations the explorer calls, on Qt. Owns the explorer and
// its worker threads; draws into the widget's surface.
class ExplorerPlatform : public Display, public Window {
public:
    explicit ExplorerPlatform(ExplorerWidget &widget);
    ~ExplorerPlatform() override;
    ExplorerPlatform(const ExplorerPlatform &) = delete;
    ExplorerPlatform &operator=(const ExplorerPlatform &) = delete;

    MyView &view() { return *m_view; }

    // Supersedes the pass in flight, cuts the workers' closing sleeps short
    // and drops their redisplay requests from now on. True when every worker
    // ended within the timeout.
    bool stopWorkers(int timeoutMs);
    // True when no worker is left running within the timeout.
    bool waitForWorkers(int timeoutMs) { return m_threads.waitUntilIdle(timeoutMs); }
    // The widget's size changed: the whole view is drawn again at once.
    void resized();

    NSRect bounds() const override;
    Window *window() override { return this; }
    void displayRect(NSRect rect) override;
    void setNeedsDisplayInRect(NSRect rect) override;
    void setNeedsDisplay(bool flag) override;
    void lockFocus() override;
    void unlockFocus() override;
    GraphicsContext &currentContext() override;
    RGBAColor selectedTextBackgroundColor() const override;

    void makeKeyAndOrderFront() override;
    void setInitialFirstResponder(MyView &view) override;

private:
    void flushRedisplays();
    void drawViewRect(NSRect rect);
    // The view's rectangle in the surface's (device) pixels, top down.
    QRect toSurfaceRect(NSRect rect) const;

    ExplorerWidget &m_widget;
    DetachedThreads m_threads;
    PendingRedisplays m_pending;
    // The drawing in progress; it lives on drawViewRect's stack.
    SurfaceContext *m_drawing = nullptr;
    std::unique_ptr<SurfaceContext> m_focus;
    int m_focusDepth = 0;
    QRect m_dirty;
    bool m_launched = false;
    QElapsedTimer m_sinceFlush;
    std::unique_ptr<MyView> m_view;
};

} // namespace dwell
