#pragma once

#include "Geometry.h"
#include "RGBAColor.h"

namespace dwell {

class BitmapImage;

enum class CompositingOperation { Copy, SourceOver };

// Drawing primitives in the view's unflipped coordinates. Valid during a
// drawing of the view, or between Display::lockFocus() and unlockFocus().
class GraphicsContext {
public:
    virtual ~GraphicsContext() = default;

    // The whole image into rect, image row 0 at the top.
    virtual void drawImage(const BitmapImage &image, NSRect rect) = 0;
    virtual void fillRect(NSRect rect, RGBAColor color, CompositingOperation operation) = 0;
    // An outline one unit wide, lying inside rect.
    virtual void frameRect(NSRect rect, RGBAColor color) = 0;
    // A straight stroke in the context's default colour.
    virtual void strokeLine(NSPoint from, NSPoint to, float lineWidth) = 0;
    // Shows what was drawn outside the display cycle at once.
    virtual void flushGraphics() = 0;
};

} // namespace dwell
