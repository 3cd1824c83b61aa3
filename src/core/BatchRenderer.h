#pragma once

#include "DetachedThreads.h"
#include "HeadlessDisplay.h"
#include "MyView.h"
#include "StaticControls.h"

#include <string>

// What to render without a window: a picture of width x height pixels whose
// centre and width are given in the plane.
struct RenderRequest {
    int width = 1024;
    int height = 768;
    double centerX = -0.5;
    double centerY = 0.0;
    double planeWidth = 4.0;
    double originX = 0.0;
    double originY = 0.0;
    float escapeRadius = 4.0f;
    int maxDwell = 1000;
    int threads = 1;

    // Empty when the request can be rendered, else what is wrong with it.
    std::string problem() const;
};

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
