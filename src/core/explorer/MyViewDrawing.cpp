#include "MyView.h"

#include "Display.h"
#include "GraphicsContext.h"

#include <algorithm>
#include <cmath>

namespace dwell {

namespace {

// Whole pixels, from 0 to the largest side the tables hold; NaN counts as 0.
float usableSide(float side)
{
    if (!(side > 0))
        return 0;
    return std::min(std::floor(side), MyView::kMaxSide);
}

// Rows within reach of the table, safe to convert to int; NaN counts as 0.
int clampedRows(float rows)
{
    if (!(rows == rows))
        return 0;
    return int(std::clamp(rows, -MyView::kMaxSide, MyView::kMaxSide));
}

} // namespace

void MyView::drawRect(NSRect rect)
{
    const NSRect bounds = usableBounds();
    bool needsStartButton;
    {
        std::lock_guard lock(workLock);
        needsStartButton = resizeIfNeeded(bounds);
        if (!myImage)
            createImage(bounds);
        markDrawnRows(rect);
        m_display.currentContext().drawImage(*myImage, bounds);
        if (isDragging)
            drawSelection();
    }
    // After unlocking: the render start takes the lock itself.
    if (needsStartButton)
        startButton(nullptr);
}

NSRect MyView::usableBounds() const
{
    const NSRect bounds = m_display.bounds();
    return {bounds.origin, {usableSide(bounds.size.width), usableSide(bounds.size.height)}};
}

bool MyView::resizeIfNeeded(NSRect bounds)
{
    if (!myImage || bounds.size == frame.size)
        return false;
    ++comp_sequence;
    myImage.reset();
    bitmapData = nullptr;
    // Keep the plane point at the view's centre where it was.
    const ExactWindow before = exactWindow;
    viewX = viewX - viewStep * (bounds.size.width - frame.size.width) * 0.5;
    height = int(bounds.size.height);
    viewY = viewY + viewStep * (bounds.size.height - frame.size.height) * 0.5;
    // Judged at the new size, as the pass that follows draws it.
    followWindow(before, -(double(bounds.size.width) - double(frame.size.width)) * 0.5,
                 -(double(bounds.size.height) - double(frame.size.height)) * 0.5, 1.0, bounds.size);
    return true;
}

void MyView::createImage(NSRect bounds)
{
    frame = bounds;
    window = m_display.window();
    myImage = std::make_unique<BitmapImage>(int(frame.size.width), int(frame.size.height));
    bitmapData = myImage->bitmapData();
    // The next pass makes values of the new size.
    pixelValues.reset();
    rowKept.assign(std::size_t(frame.size.height), 0);
}

void MyView::markDrawnRows(NSRect rect)
{
    if (!(rect.size.height < float(height)))
        return;
    if (std::isnan(rect.origin.y))
        return;
    const int y0 = clampedRows(rect.origin.y);
    const int n = clampedRows(rect.size.height);
    for (int row = std::max(y0, 0); row < y0 + n && row < height; ++row)
        drawnTable[row] = 1;
}

void MyView::drawSelection()
{
    GraphicsContext &context = m_display.currentContext();
    const RGBAColor highlight = m_display.selectedTextBackgroundColor();
    context.fillRect(mouseDragRect, highlight.withAlphaComponent(0.35f),
                     CompositingOperation::SourceOver);
    context.frameRect(mouseDragRect, highlight);
}

} // namespace dwell
