// The selection pipeline of a drag: make, constrain, fit, normalize.
#include "KXRectTools.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace dwell;

namespace {

bool finite(const NSRect &r)
{
    return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width) &&
           std::isfinite(r.size.height);
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Allows for the rounding of the float sums that place the far corner.
bool within(float value, float low, float high)
{
    const float slack = 1e-5f * (std::fabs(low) + std::fabs(high) + std::fabs(value)) + 1e-5f;
    return value >= low - slack && value <= high + slack;
}

// The press stays a corner on this axis: the low edge of a selection that
// extends towards higher values, the high edge of one that extends back.
// Normalizing moves the origin by a float sum, rounded by at most half an
// ulp (2^-24 relative, or 2^-150 below the normal range); the tolerance is
// twice that. Which edge is known only for a press inside the frame, as
// fitting turns a selection anchored outside back towards the frame.
void checkAnchor(float origin, float size, float press, bool backwards, bool directionKnown)
{
    const bool atLow = origin == press;
    const bool atHigh = std::fabs(double(origin) + double(size) - double(press)) <=
                        0x1p-23 * std::fabs(origin) + 0x1p-149;
    check(directionKnown ? (backwards ? atHigh : atLow) : (atLow || atHigh));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    float v[6];
    if (size < sizeof v)
        return 0;
    std::memcpy(v, data, sizeof v);
    const NSPoint down{v[0], v[1]};
    const NSPoint drag{v[2], v[3]};
    const NSRect frame{{0, 0}, {v[4], v[5]}};

    NSRect r = KXRectTools::makeRectFromPoint(down, drag);
    r = KXRectTools::constrainRect(r, frame.size, 12.0);
    r = KXRectTools::scaleRect(r, frame);
    const NSRect fitted = KXRectTools::normalizeRect(r);

    const bool sane = finite({down, {v[2], v[3]}}) && std::isfinite(v[4]) && std::isfinite(v[5]) &&
                      std::fabs(v[4]) < 1e6f && std::fabs(v[5]) < 1e6f && std::fabs(v[0]) < 1e6f &&
                      std::fabs(v[1]) < 1e6f && std::fabs(v[2]) < 1e6f && std::fabs(v[3]) < 1e6f;
    if (!sane || !finite(fitted))
        return 0;
    check(fitted.size.width >= 0 && fitted.size.height >= 0);
    const bool inX = v[4] > 0 && down.x >= 0 && down.x <= v[4];
    const bool inY = v[5] > 0 && down.y >= 0 && down.y <= v[5];
    checkAnchor(fitted.origin.x, fitted.size.width, down.x, drag.x < down.x, inX);
    checkAnchor(fitted.origin.y, fitted.size.height, down.y, drag.y < down.y, inY);
    if (inX && inY) {
        check(within(fitted.origin.x, 0, v[4]));
        check(within(fitted.origin.x + fitted.size.width, 0, v[4]));
        check(within(fitted.origin.y, 0, v[5]));
        check(within(fitted.origin.y + fitted.size.height, 0, v[5]));
        // The view's proportions, compared crosswise in double, where the
        // products of floats are exact. Four roundings to float make the
        // sides: constraining stores both sides of at least 12, then fitting
        // stores both again, each within 2^-24 relative, or 2^-150 absolute
        // once a side falls below the normal range. That bounds the
        // difference by 2^-23 of the sum of the two products plus 2^-150 of
        // the frame's sides; the tolerance is twice that. An empty selection
        // meets it trivially.
        const double w = fitted.size.width, h = fitted.size.height;
        check(std::fabs(w * v[5] - h * v[4]) <=
              0x1p-22 * (w * v[5] + h * v[4]) + 0x1p-149 * (double(v[4]) + v[5]));
    }
    return 0;
}
