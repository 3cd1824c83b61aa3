#pragma once

#include "GraphicsContext.h"

namespace dwell {

// Where drawing goes when nothing is shown: outside any drawing, or without a screen.
class NullGraphicsContext : public GraphicsContext {
public:
    void drawImage(const BitmapImage &, NSRect) override {}
    void fillRect(NSRect, RGBAColor, CompositingOperation) override {}
    void frameRect(NSRect, RGBAColor) override {}
    void strokeLine(NSPoint, NSPoint, float) override {}
    void flushGraphics() override {}
};

} // namespace dwell
