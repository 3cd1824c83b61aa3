#include "SurfaceContext.h"

#include "BitmapImage.h"
#include "ViewGeometry.h"

#include <QImage>

#include <algorithm>

namespace dwell {

namespace {

QColor toQColor(RGBAColor color)
{
    return QColor::fromRgbF(color.red, color.green, color.blue, color.alpha);
}

} // namespace

SurfaceContext::SurfaceContext(QImage &surface)
    : m_painter(&surface), m_height(float(surface.height()))
{
}

void SurfaceContext::drawImage(const BitmapImage &image, NSRect rect)
{
    // Wraps the pixels without copying; the image outlives this call.
    const QImage pixels(image.bitmapData(), image.pixelsWide(), image.pixelsHigh(),
                        image.bytesPerRow(), QImage::Format_RGB888);
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.drawImage(toQtRect(rect, m_height), pixels);
}

void SurfaceContext::fillRect(NSRect rect, RGBAColor color, CompositingOperation operation)
{
    m_painter.setCompositionMode(operation == CompositingOperation::Copy
                                     ? QPainter::CompositionMode_Source
                                     : QPainter::CompositionMode_SourceOver);
    m_painter.fillRect(toQtRect(rect, m_height).normalized(), toQColor(color));
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void SurfaceContext::frameRect(NSRect rect, RGBAColor color)
{
    // Four one-unit bands inside the rectangle, so that redisplaying exactly
    // the rectangle erases the frame.
    const QRectF area = toQtRect(rect, m_height).normalized();
    const QColor qcolor = toQColor(color);
    const qreal band = std::min({1.0, area.width(), area.height()});
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.fillRect(QRectF(area.left(), area.top(), area.width(), band), qcolor);
    m_painter.fillRect(QRectF(area.left(), area.bottom() - band, area.width(), band), qcolor);
    m_painter.fillRect(QRectF(area.left(), area.top() + band, band, area.height() - 2 * band),
                       qcolor);
    m_painter.fillRect(
        QRectF(area.right() - band, area.top() + band, band, area.height() - 2 * band), qcolor);
}

void SurfaceContext::strokeLine(NSPoint from, NSPoint to, float lineWidth)
{
    // No colour is chosen: the stroke takes the painter's default pen colour.
    QPen pen = m_painter.pen();
    pen.setWidthF(lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setPen(pen);
    m_painter.drawLine(toQtPoint(from, m_height), toQtPoint(to, m_height));
    m_painter.restore();
}

} // namespace dwell
