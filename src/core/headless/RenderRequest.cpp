#include "RenderRequest.h"

#include "MyView.h"

#include <cmath>

namespace dwell {

std::string RenderRequest::problem() const
{
    if (width < 1 || height < 1 || width > MyView::kTableSize || height > MyView::kTableSize)
        return "the size must be from 1x1 to " + std::to_string(MyView::kTableSize) + "x" +
               std::to_string(MyView::kTableSize) + " pixels";
    if (!std::isfinite(centerX) || !std::isfinite(centerY))
        return "the centre must be a finite point";
    if (!std::isfinite(planeWidth) || !(planeWidth > 0))
        return "the width must be a positive number";
    if (!std::isfinite(originX) || !std::isfinite(originY))
        return "the origin must be a finite point";
    if (!std::isfinite(escapeRadius))
        return "the escape bound must be a finite number";
    if (maxDwell < 1)
        return "the dwell limit must be at least 1";
    if (threads < 1 || threads > 1024)
        return "the thread count must be from 1 to 1024";
    return {};
}

} // namespace dwell
