#pragma once

#include "DetachedThreads.h"
#include "HeadlessDisplay.h"
#include "MyView.h"
#include "RenderRequest.h"
#include "StaticControls.h"

namespace dwell {

// Renders one picture on the explorer's own workers and kernel.
class BatchRenderer {
public:
    explicit BatchRenderer(const RenderRequest &request);
    ~BatchRenderer();
    BatchRenderer(const BatchRenderer &) = delete;
    BatchRenderer &operator=(const BatchRenderer &) = delete;

    void start();
    // True when the picture is complete.
    bool waitUntilDone(int timeoutMs) { return m_threads.waitUntilIdle(timeoutMs); }
    PassStatus status() { return m_view.passStatus(); }
    const BitmapImage &image() const { return *m_view.myImage; }
    const MyView &view() const { return m_view; }

private:
    RenderRequest m_request;
    HeadlessDisplay m_display;
    DetachedThreads m_threads;
    StaticMenu m_threadMenu;
    StaticMenu m_dwellMenu;
    StaticSwitch m_off;
    StaticSlider m_escapeRadius;
    MyView m_view;
};

} // namespace dwell
