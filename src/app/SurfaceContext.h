#pragma once

#include "GraphicsContext.h"

#include <QPainter>

class QImage;

namespace dwell {

// The explorer's drawing primitives on a QPainter over the view's retained
// surface, with the explorer's unflipped coordinates turned into Qt's.
class SurfaceContext : public GraphicsContext {
public:
    explicit SurfaceContext(QImage &surface);

    QPainter &painter() { return m_painter; }
    bool flushRequested() const { return m_flushRequested; }

    void drawImage(const BitmapImage &image, NSRect rect) override;
    void fillRect(NSRect rect, RGBAColor color, CompositingOperation operation) override;
    void frameRect(NSRect rect, RGBAColor color) override;
    void strokeLine(NSPoint from, NSPoint to, float lineWidth) override;
    // The owner shows the surface once the painter is done with it.
    void flushGraphics() override { m_flushRequested = true; }

private:
    QPainter m_painter;
    const float m_height;
    bool m_flushRequested = false;
};

} // namespace dwell
