#include "Geometry.h"

#include <algorithm>

namespace dwell {

NSRect unionRect(NSRect a, NSRect b)
{
    const float left = std::min(a.origin.x, b.origin.x);
    const float bottom = std::min(a.origin.y, b.origin.y);
    const float right = std::max(a.origin.x + a.size.width, b.origin.x + b.size.width);
    const float top = std::max(a.origin.y + a.size.height, b.origin.y + b.size.height);
    return {{left, bottom}, {right - left, top - bottom}};
}

NSRect intersectionRect(NSRect a, NSRect b)
{
    const float left = std::max(a.origin.x, b.origin.x);
    const float bottom = std::max(a.origin.y, b.origin.y);
    const float right = std::min(a.origin.x + a.size.width, b.origin.x + b.size.width);
    const float top = std::min(a.origin.y + a.size.height, b.origin.y + b.size.height);
    return {{left, bottom}, {right - left, top - bottom}};
}

} // namespace dwell
