#include "TestExplorer.h"

#include <gtest/gtest.h>

namespace {

// The worked window: 400 x 300 pixels from (-2, 1.5) at step 0.01, no workers.
struct MouseExplorer : TestExplorer {
    MouseExplorer() : TestExplorer(400, 300, "0 threads")
    {
        launch();
        view.viewX = -2.0;
        view.viewY = 1.5;
        view.viewStep = 0.01;
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

TEST(Mouse, SelectionsTooSmallAreDropped)
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
