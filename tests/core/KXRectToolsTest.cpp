#include "KXRectTools.h"

#include <gtest/gtest.h>

namespace dwell {

namespace {

NSRect rect(float x, float y, float w, float h)
{
    return {{x, y}, {w, h}};
}

const NSRect kFrame = rect(0, 0, 300, 300);

} // namespace

TEST(KXRectTools, ConstrainCollapsesBelowTheThresholdOnly)
{
    // The larger factor 2.5 makes the height 7.5, under 12.
    EXPECT_EQ(KXRectTools::constrainRect(rect(3, 4, 10, 5), {4, 3}, 12), rect(3, 4, 0, 0));
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

} // namespace dwell
