#pragma once

#include "Geometry.h"

#include <QPointF>
#include <QRectF>

namespace dwell {

// The explorer's coordinates are unflipped (origin at the lower-left, y up);
// Qt's grow downwards. viewHeight is the widget's height in pixels.

inline QRectF toQtRect(NSRect rect, float viewHeight)
{
    return {rect.origin.x, viewHeight - rect.origin.y - rect.size.height, rect.size.width,
            rect.size.height};
}

inline QPointF toQtPoint(NSPoint point, float viewHeight)
{
    return {point.x, viewHeight - point.y};
}

// Pointer positions are taken exactly, not at the pixel centre: a press on
// pixel (c, r) is the view point (c, height - r), which is the plane point
// of image column c and line r.
inline NSPoint toViewPoint(QPointF position, float viewHeight)
{
    return {float(position.x()), viewHeight - float(position.y())};
}

} // namespace dwell
