#include "MyView.h"

#include "ControlValues.h"
#include "Display.h"
#include "KXRectTools.h"

#include <cmath>

namespace dwell {

void MyView::mouseDown(NSPoint location)
{
    mouseDownPoint = location;
    isDragging = false;
    isSelecting = true;
}

void MyView::mouseDragged(NSPoint location)
{
    if (isDragging)
        m_display.setNeedsDisplayInRect(mouseDragRect);
    isDragging = true;
    mouseDragPoint = location;
    mouseDragRect = KXRectTools::makeRectFromPoint(mouseDownPoint, mouseDragPoint);
    mouseDragRect = KXRectTools::constrainRect(mouseDragRect, frame.size, kSmallestSelection);
    mouseDragRect = KXRectTools::scaleRect(mouseDragRect, frame);
    mouseDragRect = KXRectTools::normalizeRect(mouseDragRect);
    m_display.setNeedsDisplayInRect(mouseDragRect);
}

void MyView::mouseUp(NSPoint)
{
    double newX;
    double newY;
    if (isDragging) {
        if (mouseDragRect.size.width < kSmallestSelection) {
            isDragging = false;
            isSelecting = false;
            return;
        }
        newX = viewX + viewStep * mouseDragRect.origin.x;
        newY = viewY - viewStep * (frame.size.height -
                                   (mouseDragRect.origin.y + mouseDragRect.size.height));
    } else {
        newX = viewX + viewStep * mouseDownPoint.x;
        newY = viewY - viewStep * (frame.size.height - mouseDownPoint.y);
    }
    zoomOrMoveOrigin(newX, newY);
    isDragging = false;
    isSelecting = false;
    startButton(nullptr);
}

void MyView::zoomOrMoveOrigin(double newX, double newY)
{
    std::lock_guard lock(workLock);
    if (isOn(originSwitch)) {
        originX = newX;
        originY = newY;
    } else if (isDragging) {
        rememberWindow();
        const ExactWindow before = exactWindow;
        const float ratio = mouseDragRect.size.width / frame.size.width;
        viewX = newX;
        viewY = newY;
        viewStep = viewStep * ratio;
        followWindow(before, mouseDragRect.origin.x,
                     frame.size.height - (mouseDragRect.origin.y + mouseDragRect.size.height),
                     ratio, frame.size);
    } else {
        rememberWindow();
        const ExactWindow before = exactWindow;
        const double S = viewStep;
        const double W = frame.size.width;
        const double H = frame.size.height;
        viewX = newX - S * W * 0.25;
        viewY = newY + S * H * 0.25;
        viewStep = S * 0.5;
        followWindow(before, double(mouseDownPoint.x) - W * 0.25,
                     H * 0.75 - double(mouseDownPoint.y), 0.5, frame.size);
    }
}

void MyView::scrollWheel(NSPoint location, double notches)
{
    if (notches == 0.0 || !std::isfinite(notches))
        return;
    {
        std::lock_guard lock(workLock);
        rememberWindow();
        const ExactWindow before = exactWindow;
        const double factor = std::exp2(-notches / 2.0);
        // The plane point under location is corner + step * (x, -(H - y)) before and after.
        const double across = double(location.x) * (1.0 - factor);
        const double down = (double(frame.size.height) - double(location.y)) * (1.0 - factor);
        const double S = viewStep;
        viewX = viewX + S * across;
        viewY = viewY - S * down;
        viewStep = S * factor;
        followWindow(before, across, down, factor, frame.size);
    }
    startButton(nullptr);
}

} // namespace dwell
