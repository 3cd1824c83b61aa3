#include "TestExplorer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dwell {

namespace {

// The worked window: 400 x 300 pixels from (-2, 1.5) at step 0.01, no workers.
struct MouseExplorer : TestExplorer {
    MouseExplorer() : TestExplorer(400, 300, "0 threads")
    {
        launch();
        view.setPlaneWindow({-2.0, 1.5, 0.01});
    }
    void drag(NSPoint from, NSPoint to)
    {
        view.mouseDown(from);
        view.mouseDragged(to);
    }
    void expectWindow(double x, double y, double step)
    {
        EXPECT_DOUBLE_EQ(view.viewX, x);
        EXPECT_DOUBLE_EQ(view.viewY, y);
        EXPECT_DOUBLE_EQ(view.viewStep, step);
    }
};

} // namespace

TEST(Mouse, ClickZoomsInByTwoAboutThePressedPoint)
{
    MouseExplorer explorer;
    explorer.view.mouseDown({100, 200});
    explorer.view.mouseUp({390, 10}); // the release position is not used
    explorer.expectWindow(-2.0, 1.25, 0.005);
    EXPECT_EQ(explorer.view.comp_sequence, 2);
    EXPECT_FALSE(explorer.view.isSelecting);
}

TEST(Mouse, DragSelectsTheViewsProportionsAndZoomsIntoIt)
{
    MouseExplorer explorer;
    explorer.drag({100, 200}, {300, 120});
    EXPECT_EQ(explorer.view.mouseDragRect, (NSRect{{100, 50}, {200, 150}}));
    EXPECT_TRUE(explorer.view.isDragging);
    // A further drag erases the previous selection, then shows the new one.
    explorer.view.mouseDragged({300, 119});
    const auto requests = explorer.display.stripRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], requests[1]);
    EXPECT_EQ(requests[2], explorer.view.mouseDragRect);

    explorer.view.mouseDragged({300, 120});
    explorer.view.mouseUp({0, 0});
    explorer.expectWindow(-1.0, 0.5, 0.005);
    EXPECT_EQ(explorer.view.comp_sequence, 2);
    EXPECT_FALSE(explorer.view.isDragging);
}

TEST(Mouse, SelectionsNarrowerThanTwelveAreDropped)
{
    MouseExplorer explorer;
    explorer.drag({100, 200}, {104, 203});
    EXPECT_EQ(explorer.view.mouseDragRect.size, (NSSize{0, 0}));
    explorer.view.mouseUp({104, 203});
    explorer.expectWindow(-2.0, 1.5, 0.01);

    // Past the right edge the fitted selection shrinks to 5 x 3.75.
    explorer.drag({395, 100}, {420, 130});
    EXPECT_EQ(explorer.view.mouseDragRect, (NSRect{{395, 100}, {5, 3.75f}}));
    explorer.view.mouseUp({420, 130});
    explorer.expectWindow(-2.0, 1.5, 0.01);
    EXPECT_EQ(explorer.view.comp_sequence, 1);
    EXPECT_FALSE(explorer.view.isDragging);
    EXPECT_FALSE(explorer.view.isSelecting);

    // Fitted against the right edge: a hair under 12 wide is dropped, 12 is taken.
    explorer.drag({std::nextafter(388.0f, 400.0f), 100}, {420, 124});
    ASSERT_LT(explorer.view.mouseDragRect.size.width, 12.0f);
    explorer.view.mouseUp({420, 124});
    explorer.expectWindow(-2.0, 1.5, 0.01);
    explorer.drag({388, 100}, {420, 124});
    ASSERT_EQ(explorer.view.mouseDragRect, (NSRect{{388, 100}, {12, 9}}));
    explorer.view.mouseUp({420, 124});
    explorer.expectWindow(1.88, -0.41, 0.01 * double(12.0f / 400.0f));
    EXPECT_EQ(explorer.view.comp_sequence, 2);
}

TEST(Mouse, ViewCoordinatesAreCombinedInSinglePrecision)
{
    // Fractional points on an odd-sized view, where double sums would differ.
    TestExplorer explorer(401, 301, "0 threads");
    explorer.launch();
    MyView &view = explorer.view;
    const float H = 301;

    view.setPlaneWindow({-2.0, 1.5, 0.01});
    view.mouseDown({100.3f, 0.7f});
    view.mouseUp({100.3f, 0.7f});
    const double clickX = -2.0 + 0.01 * double(100.3f);
    const double clickY = 1.5 - 0.01 * double(float(H - 0.7f));
    EXPECT_EQ(double(view.viewX), clickX - 0.01 * 401.0 * 0.25);
    EXPECT_EQ(double(view.viewY), clickY + 0.01 * 301.0 * 0.25);
    EXPECT_EQ(double(view.viewStep), 0.005);

    view.setPlaneWindow({-2.0, 1.5, 0.01});
    view.mouseDown({50.3f, 0.7f});
    view.mouseDragged({150.4f, 70.9f});
    const NSRect selection = view.mouseDragRect;
    view.mouseUp({150.4f, 70.9f});
    const float top = selection.origin.y + selection.size.height;
    EXPECT_EQ(double(view.viewX), -2.0 + 0.01 * double(selection.origin.x));
    EXPECT_EQ(double(view.viewY), 1.5 - 0.01 * double(float(H - top)));
    EXPECT_EQ(double(view.viewStep), 0.01 * double(float(selection.size.width / 401.0f)));
}

TEST(Mouse, OriginModeMovesTheStartingValueInstead)
{
    MouseExplorer explorer;
    explorer.originSwitch.value = 1;
    explorer.view.mouseDown({100, 200});
    explorer.view.mouseUp({100, 200});
    EXPECT_DOUBLE_EQ(explorer.view.originX, -1.0);
    EXPECT_DOUBLE_EQ(explorer.view.originY, 0.5);
    explorer.expectWindow(-2.0, 1.5, 0.01);
    EXPECT_EQ(explorer.view.comp_sequence, 2);

    // After a drag, the selection's upper-left corner.
    explorer.drag({100, 200}, {300, 120});
    explorer.view.mouseUp({300, 120});
    EXPECT_DOUBLE_EQ(explorer.view.originX, -1.0);
    EXPECT_DOUBLE_EQ(explorer.view.originY, 0.5);
    explorer.drag({0, 300}, {40, 250});
    explorer.view.mouseUp({40, 250});
    EXPECT_DOUBLE_EQ(explorer.view.originX, -2.0);
    EXPECT_DOUBLE_EQ(explorer.view.originY, 1.5);
    explorer.expectWindow(-2.0, 1.5, 0.01);
    EXPECT_EQ(explorer.view.comp_sequence, 4);
}

} // namespace dwell
