#include "KXRectTools.h"

#include <cmath>

namespace dwell {

NSRect KXRectTools::makeRectFromPoint(NSPoint firstPoint, NSPoint otherPoint)
{
    return {firstPoint, {otherPoint.x - firstPoint.x, otherPoint.y - firstPoint.y}};
}

NSRect KXRectTools::normalizeRect(NSRect theRect)
{
    if (theRect.size.width < 0) {
        theRect.origin.x = theRect.origin.x + theRect.size.width;
        theRect.size.width = -theRect.size.width;
    }
    if (theRect.size.height < 0) {
        theRect.origin.y = theRect.origin.y + theRect.size.height;
        theRect.size.height = -theRect.size.height;
    }
    return theRect;
}

NSRect KXRectTools::constrainRect(NSRect theRect, NSSize theAspect, double collapse)
{
    return _constrainRect(theRect, theAspect, collapse, true);
}

NSRect KXRectTools::scaleRect(NSRect theRect, NSRect frameRect)
{
    float farX = theRect.origin.x + theRect.size.width;
    float farY = theRect.origin.y + theRect.size.height;
    const float farFrameX = frameRect.origin.x + frameRect.size.width;
    const float farFrameY = frameRect.origin.y + frameRect.size.height;

    if (farX < frameRect.origin.x)
        farX = frameRect.origin.x;
    else if (farX > farFrameX)
        farX = farFrameX;
    if (farY < frameRect.origin.y)
        farY = frameRect.origin.y;
    else if (farY > farFrameY)
        farY = farFrameY;

    const NSRect clipped{theRect.origin, {farX - theRect.origin.x, farY - theRect.origin.y}};
    return _constrainRect(clipped, theRect.size, 0.0, false);
}

NSRect KXRectTools::_constrainRect(NSRect theRect, NSSize theAspect, double collapse,
                                   bool shouldUseMax)
{
    const double normalizedWidth = std::fabs(double(theAspect.width));
    const double normalizedHeight = std::fabs(double(theAspect.height));
    if (normalizedWidth == 0 || normalizedHeight == 0)
        return theRect;

    const double wScaleFactor = std::fabs(double(theRect.size.width)) / normalizedWidth;
    const double hScaleFactor = std::fabs(double(theRect.size.height)) / normalizedHeight;
    double scaleFactor;
    if (shouldUseMax)
        scaleFactor = wScaleFactor < hScaleFactor ? hScaleFactor : wScaleFactor;
    else
        scaleFactor = wScaleFactor < hScaleFactor ? wScaleFactor : hScaleFactor;

    if (scaleFactor * normalizedWidth < collapse || scaleFactor * normalizedHeight < collapse)
        scaleFactor = 0;

    const double widthFactor = theRect.size.width < 0 ? 0 - scaleFactor : scaleFactor;
    const double heightFactor = theRect.size.height < 0 ? 0 - scaleFactor : scaleFactor;
    theRect.size.width = float(normalizedWidth * widthFactor);
    theRect.size.height = float(normalizedHeight * heightFactor);
    return theRect;
}

} // namespace dwell
