#pragma once

#include "Geometry.h"

namespace dwell {

// Stateless rectangle geometry for the mouse selection. Rectangles may be
// signed: origin is the anchor corner, origin + size the far corner.
class KXRectTools {
public:
    KXRectTools() = delete;

    static NSRect makeRectFromPoint(NSPoint firstPoint, NSPoint otherPoint);
    static NSRect normalizeRect(NSRect theRect);
    static NSRect constrainRect(NSRect theRect, NSSize theAspect, double collapse);
    static NSRect scaleRect(NSRect theRect, NSRect frameRect);

private:
    static NSRect _constrainRect(NSRect theRect, NSSize theAspect, double collapse,
                                 bool shouldUseMax);
};

} // namespace dwell
