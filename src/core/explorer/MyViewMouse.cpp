#include "MyView.h"

#include "ControlValues.h"
#include "Display.h"
#include "KXRectTools.h"

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

} // namespace dwell
