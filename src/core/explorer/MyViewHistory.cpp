#include "MyView.h"

namespace dwell {

void MyView::rememberWindow()
{
    // The launch's first reset has no window worth returning to.
    if (viewStep == 0.0)
        return;
    if (m_history.size() == kHistoryDepth)
        m_history.erase(m_history.begin());
    m_history.push_back(planeWindow());
}

void MyView::zoomOutButton(const void *sender)
{
    {
        std::lock_guard lock(workLock);
        rememberWindow();
        const double halfWidth = double(frame.size.width) * 0.5;
        const double halfHeight = double(frame.size.height) * 0.5;
        const double step = viewStep;
        const double centerX = viewX + step * halfWidth;
        const double centerY = viewY - step * halfHeight;
        viewStep = step * 2.0;
        viewX = centerX - viewStep * halfWidth;
        viewY = centerY + viewStep * halfHeight;
    }
    startButton(sender);
}

void MyView::backButton(const void *sender)
{
    if (m_history.empty())
        return;
    {
        std::lock_guard lock(workLock);
        const PlaneWindow previous = m_history.back();
        m_history.pop_back();
        viewX = previous.viewX;
        viewY = previous.viewY;
        viewStep = previous.viewStep;
    }
    startButton(sender);
}

PassStatus MyView::passStatus()
{
    std::lock_guard lock(workLock);
    PassStatus status{comp_sequence,   lines_stored, height, int(frame.size.width),
                      pass_iterations, passScene,    0.0,    passFailed};
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
}

Scene MyView::scene() const
{
    return {planeWindow(), originX, originY, max_dwells, escapeRadius};
}

} // namespace dwell
