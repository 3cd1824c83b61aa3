#include "PlaneModel.h"

#include <algorithm>
#include <cmath>

namespace dwell {

namespace {

// The factor that brings size to the proportions of aspect: the larger of
// the two ratios, or the smaller when fitting inside.
double aspectScale(NSSize size, NSSize aspect, bool larger)
{
    const double byWidth = std::fabs(double(size.width)) / std::fabs(double(aspect.width));
    const double byHeight = std::fabs(double(size.height)) / std::fabs(double(aspect.height));
    return larger ? std::max(byWidth, byHeight) : std::min(byWidth, byHeight);
}

// aspect scaled by scale, with the signs of signs.
NSSize scaledLike(NSSize aspect, double scale, NSSize signs)
{
    return {float(std::fabs(double(aspect.width)) * (signs.width < 0 ? 0 - scale : scale)),
            float(std::fabs(double(aspect.height)) * (signs.height < 0 ? 0 - scale : scale))};
}

} // namespace

PlaneWindow PlaneModel::reset() const
{
    const double step = 4.0 / double(m_width);
    return {-2.5, (double(m_height) * step) * 0.5, step};
}

PlaneWindow PlaneModel::zoomOut(const PlaneWindow &old) const
{
    const double halfWidth = double(m_width) * 0.5;
    const double halfHeight = double(m_height) * 0.5;
    const double centerX = old.viewX + old.viewStep * halfWidth;
    const double centerY = old.viewY - old.viewStep * halfHeight;
    const double step = old.viewStep * 2.0;
    return {centerX - step * halfWidth, centerY + step * halfHeight, step};
}

PlaneWindow PlaneModel::resized(const PlaneWindow &old, int width, int height) const
{
    // The explorer takes the size differences in floats.
    const float wider = float(width) - m_width;
    const float taller = float(height) - m_height;
    return {old.viewX - old.viewStep * wider * 0.5, old.viewY + old.viewStep * taller * 0.5,
            old.viewStep};
}

std::pair<double, double> PlaneModel::planePoint(const PlaneWindow &old, NSPoint at) const
{
    return {old.viewX + old.viewStep * at.x, old.viewY - old.viewStep * (m_height - at.y)};
}

PlaneWindow PlaneModel::clickZoom(const PlaneWindow &old, NSPoint at) const
{
    const auto [px, py] = planePoint(old, at);
    const double s = old.viewStep;
    return {px - s * double(m_width) * 0.25, py + s * double(m_height) * 0.25, s * 0.5};
}

NSRect PlaneModel::dragRect(NSPoint press, NSPoint to) const
{
    const NSSize raw{to.x - press.x, to.y - press.y};
    const NSSize aspect{m_width, m_height};
    double scale = aspectScale(raw, aspect, true);
    // Too small to be a selection: nothing at all.
    if (scale * double(m_width) < kSmallestSide || scale * double(m_height) < kSmallestSide)
        scale = 0;
    return {press, scaledLike(aspect, scale, raw)};
}

NSRect PlaneModel::clipToView(NSRect rect) const
{
    const float farX = std::clamp(rect.origin.x + rect.size.width, 0.0f, m_width);
    const float farY = std::clamp(rect.origin.y + rect.size.height, 0.0f, m_height);
    const NSSize clipped{farX - rect.origin.x, farY - rect.origin.y};
    if (rect.size.width == 0 || rect.size.height == 0)
        return {rect.origin, clipped};
    return {rect.origin, scaledLike(rect.size, aspectScale(clipped, rect.size, false), clipped)};
}

std::optional<NSRect> PlaneModel::selection(int x, int y, int toX, int toY) const
{
    NSRect rect = clipToView(dragRect(viewPoint(x, y), viewPoint(toX, toY)));
    if (rect.size.width < 0) {
        rect.origin.x += rect.size.width;
        rect.size.width = -rect.size.width;
    }
    if (rect.size.height < 0) {
        rect.origin.y += rect.size.height;
        rect.size.height = -rect.size.height;
    }
    if (rect.size.width < kSmallestSide)
        return std::nullopt;
    return rect;
}

std::pair<double, double> PlaneModel::selectionCorner(const PlaneWindow &old,
                                                      NSRect selection) const
{
    const float top = selection.origin.y + selection.size.height;
    return {old.viewX + old.viewStep * selection.origin.x,
            old.viewY - old.viewStep * (m_height - top)};
}

PlaneWindow PlaneModel::selectionZoom(const PlaneWindow &old, NSRect selection) const
{
    const auto [x, y] = selectionCorner(old, selection);
    return {x, y, old.viewStep * (selection.size.width / m_width)};
}

} // namespace dwell
