#include "MyView.h"

#include "ControlValues.h"
#include "DeepPass.h"

namespace dwell {

void MyView::rememberWindow()
{
    // The launch's first reset has no window worth returning to.
    if (exactWindow.step.mantissa == 0.0)
        return;
    pushWindow(m_history);
    m_forward.clear();
}

void MyView::pushWindow(std::vector<WindowRecord> &stack)
{
    if (stack.size() == kHistoryDepth)
        stack.erase(stack.begin());
    stack.push_back({planeWindow(), exactWindow});
}

void MyView::restoreWindow(const WindowRecord &record)
{
    viewX = record.doubles.viewX;
    viewY = record.doubles.viewY;
    viewStep = record.doubles.viewStep;
    exactWindow = record.exact;
}

void MyView::followWindow(const ExactWindow &before, double across, double down, double factor,
                          NSSize size)
{
    if (!beyondDoubles(planeWindow(), int(size.width), int(size.height))) {
        exactWindow = ExactWindow::of(planeWindow());
        return;
    }
    useExactWindow(before.moved(across, down, factor));
}

void MyView::useExactWindow(const ExactWindow &window)
{
    exactWindow = window;
    const PlaneWindow nearest = window.nearest();
    viewX = nearest.viewX;
    viewY = nearest.viewY;
    viewStep = nearest.viewStep;
}

bool MyView::deepEngineNeeded() const
{
    return beyondDoubles(planeWindow(), int(frame.size.width), int(frame.size.height));
}

void MyView::zoomOutButton(const void *sender)
{
    {
        std::lock_guard lock(workLock);
        rememberWindow();
        const ExactWindow before = exactWindow;
        const double halfWidth = double(frame.size.width) * 0.5;
        const double halfHeight = double(frame.size.height) * 0.5;
        const double step = viewStep;
        const double centerX = viewX + step * halfWidth;
        const double centerY = viewY - step * halfHeight;
        viewStep = step * 2.0;
        viewX = centerX - viewStep * halfWidth;
        viewY = centerY + viewStep * halfHeight;
        followWindow(before, -halfWidth, -halfHeight, 2.0, frame.size);
    }
    startButton(sender);
}

void MyView::backButton(const void *sender)
{
    retrace(m_history, m_forward, sender);
}

void MyView::forwardButton(const void *sender)
{
    retrace(m_forward, m_history, sender);
}

void MyView::retrace(std::vector<WindowRecord> &from, std::vector<WindowRecord> &to,
                     const void *sender)
{
    if (from.empty())
        return;
    {
        std::lock_guard lock(workLock);
        pushWindow(to);
        restoreWindow(from.back());
        from.pop_back();
    }
    startButton(sender);
}

PassStatus MyView::passStatus()
{
    std::lock_guard lock(workLock);
    PassStatus status{comp_sequence,   lines_stored, height, int(frame.size.width),
                      pass_iterations, passScene,    0.0,    passFailed};
    status.nextMaxDwell = max_dwells;
    status.nextEscapeRadius = double(floatValueOf(escapeRadiusSlider));
    if (deepPass) {
        status.referenceDone = deepPass->referenceDone();
        status.referenceLimit = deepPass->referenceLimit();
    }
    const auto until = status.finished() ? passEnded : std::chrono::steady_clock::now();
    status.seconds = std::chrono::duration<double>(until - passStarted).count();
    return status;
}

std::optional<PassPicture> MyView::picture()
{
    std::lock_guard lock(workLock);
    if (!myImage)
        return std::nullopt;
    return PassPicture{*myImage, passScene, lines_stored >= height};
}

void MyView::cancelPass()
{
    std::lock_guard lock(workLock);
    ++comp_sequence;
}

void MyView::setPlaneWindow(const PlaneWindow &window)
{
    std::lock_guard lock(workLock);
    viewX = window.viewX;
    viewY = window.viewY;
    viewStep = window.viewStep;
    exactWindow = ExactWindow::of(window);
}

void MyView::setExactWindow(const ExactWindow &window)
{
    std::lock_guard lock(workLock);
    rememberWindow();
    useExactWindow(window);
    // Where doubles resolve the view, they stand, digit for digit.
    if (!deepEngineNeeded())
        exactWindow = ExactWindow::of(planeWindow());
}

Scene MyView::scene() const
{
    Scene scene{planeWindow(), originX, originY, max_dwells, escapeRadius};
    scene.palette = coloring.name;
    scene.density = coloring.density;
    scene.offset = coloring.offset;
    if (deepEngineNeeded()) {
        const int w = int(frame.size.width);
        const DeepWindow centre = exactWindow.centred(w, int(frame.size.height));
        scene.exactCenterX = centre.centerX;
        scene.exactCenterY = centre.centerY;
        scene.exactWidth = exactWindow.widthText(w);
    }
    return scene;
}

} // namespace dwell
