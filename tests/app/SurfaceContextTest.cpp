#include "SurfaceContext.h"

#include <QImage>

#include <gtest/gtest.h>

namespace dwell {

namespace {

QImage whiteSurface(int w, int h)
{
    QImage surface(w, h, QImage::Format_RGB32);
    surface.fill(Qt::white);
    return surface;
}

} // namespace

TEST(SurfaceContext, FrameAndFillStayInsideTheFlippedRectangle)
{
    // View rectangle {1, 1, 4, 3} on a 6 x 5 view is Qt's x 1..4, y 1..3.
    const NSRect rect{{1, 1}, {4, 3}};
    QImage surface = whiteSurface(6, 5);
    {
        SurfaceContext context(surface);
        context.frameRect(rect, {1, 0, 0, 1});
    }
    for (int x = 1; x <= 4; ++x) {
        EXPECT_EQ(surface.pixel(x, 1), qRgb(255, 0, 0)) << x;
        EXPECT_EQ(surface.pixel(x, 3), qRgb(255, 0, 0)) << x;
        EXPECT_EQ(surface.pixel(x, 0), qRgb(255, 255, 255)) << x;
        EXPECT_EQ(surface.pixel(x, 4), qRgb(255, 255, 255)) << x;
    }
    EXPECT_EQ(surface.pixel(1, 2), qRgb(255, 0, 0));
    EXPECT_EQ(surface.pixel(4, 2), qRgb(255, 0, 0));
    EXPECT_EQ(surface.pixel(2, 2), qRgb(255, 255, 255)) << "a frame, not a fill";
    EXPECT_EQ(surface.pixel(0, 2), qRgb(255, 255, 255));
    EXPECT_EQ(surface.pixel(5, 2), qRgb(255, 255, 255));

    {
        SurfaceContext context(surface);
        context.fillRect(rect, {0, 0, 1, 0.5f}, CompositingOperation::SourceOver);
    }
    const QColor blended = surface.pixelColor(2, 2);
    EXPECT_NEAR(blended.red(), 128, 2) << "source-over lets the white show through";
    EXPECT_EQ(blended.blue(), 255);
    EXPECT_EQ(surface.pixel(2, 0), qRgb(255, 255, 255));
}

} // namespace dwell
