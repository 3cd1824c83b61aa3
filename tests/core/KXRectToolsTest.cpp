#include "KXRectTools.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dwell {

namespace {

NSRect rect(float x, float y, float w, float h)
{
    return {{x, y}, {w, h}};
}

const NSRect kFrame = rect(0, 0, 300, 300);

} // namespace

TEST(KXRectTools, MakesSignedRectanglesAndNormalizesThem)
{
    const NSRect made = KXRectTools::makeRectFromPoint({10, 20}, {4, 30});
    EXPECT_EQ(made, rect(10, 20, -6, 10));
    EXPECT_EQ(KXRectTools::normalizeRect(made), rect(4, 20, 6, 10));
    EXPECT_EQ(KXRectTools::normalizeRect(rect(5, 5, 0, -3)), rect(5, 2, 0, 3));
    EXPECT_EQ(KXRectTools::normalizeRect(rect(5, 5, -0.0f, 0)).origin.x, 5);
}

TEST(KXRectTools, ConstrainCollapsesBelowTheThresholdOnly)
{
    // The larger factor 2.5 makes the height 7.5, under 12.
    const NSRect collapsed = KXRectTools::constrainRect(rect(3, 4, 10, 5), {4, 3}, 12);
    EXPECT_EQ(collapsed.origin, (NSPoint{3, 4}));
    EXPECT_EQ(std::fabs(collapsed.size.width), 0.0f);
    EXPECT_EQ(std::fabs(collapsed.size.height), 0.0f);
    // A side exactly on the threshold survives.
    EXPECT_EQ(KXRectTools::constrainRect(rect(0, 0, 16, 12), {4, 3}, 12), rect(0, 0, 16, 12));
    // An aspect with a zero side leaves the rectangle alone, small or not.
    EXPECT_EQ(KXRectTools::constrainRect(rect(1, 2, 3, 4), {0, 3}, 100), rect(1, 2, 3, 4));
    EXPECT_EQ(KXRectTools::constrainRect(rect(1, 2, 0, 0), {4, 0}, 12), rect(1, 2, 0, 0));
}

TEST(KXRectTools, ScaleMovesOnlyTheFarCorner)
{
    // A zero height only clips.
    EXPECT_EQ(KXRectTools::scaleRect(rect(100, 100, 300, 0), kFrame), rect(100, 100, 200, 0));
    // The anchor is not moved into the frame.
    EXPECT_EQ(KXRectTools::scaleRect(rect(350, 100, 20, 10), kFrame), rect(350, 100, -20, 10));
}

TEST(KXRectTools, NotANumberFailsEveryComparison)
{
    const float nan = std::nanf("");
    // A NaN far corner is neither below nor above the frame, so it is kept.
    const NSRect scaled = KXRectTools::scaleRect(rect(10, 10, nan, 10), kFrame);
    EXPECT_TRUE(std::isnan(scaled.size.width));
    const NSRect normalized = KXRectTools::normalizeRect(rect(nan, 1, 2, nan));
    EXPECT_TRUE(std::isnan(normalized.origin.x));
    EXPECT_EQ(normalized.size.width, 2);
}

} // namespace dwell
