#include "TestExplorer.h"

#include <gtest/gtest.h>

namespace dwell {

TEST(History, BackRetracesZoomsClicksDragsAndResetsExactly)
{
    TestExplorer explorer(400, 300, "0 threads");
    MyView &view = explorer.view;
    explorer.launch();
    EXPECT_FALSE(view.canGoBack());

    std::vector<PlaneWindow> seen{view.scene().window};
    view.mouseDown({123, 77});
    view.mouseUp({123, 77});
    seen.push_back(view.scene().window);
    view.mouseDown({100, 200});
    view.mouseDragged({300, 120});
    view.mouseUp({300, 120});
    seen.push_back(view.scene().window);
    view.zoomOutButton(nullptr);
    seen.push_back(view.scene().window);
    view.resetButton(nullptr);

    const int passes = view.comp_sequence;
    for (int back = 1; !seen.empty(); ++back) {
        view.backButton(nullptr);
        EXPECT_EQ(view.scene().window, seen.back());
        EXPECT_EQ(view.comp_sequence, passes + back);
        seen.pop_back();
    }
    EXPECT_FALSE(view.canGoBack());
    view.backButton(nullptr);
    EXPECT_EQ(view.comp_sequence, passes + 4);
}

TEST(History, ZoomOutDoublesAboutTheCenterAndKeepsTheOrigin)
{
    TestExplorer explorer(400, 300, "0 threads");
    MyView &view = explorer.view;
    explorer.launch();
    view.setPlaneWindow({-2.0, 1.5, 0.01});
    view.originX = 0.25;
    view.zoomOutButton(nullptr);
    EXPECT_DOUBLE_EQ(view.viewX, -4.0);
    EXPECT_DOUBLE_EQ(view.viewY, 3.0);
    EXPECT_DOUBLE_EQ(view.viewStep, 0.02);
    EXPECT_EQ(view.originX, 0.25);
    // Origin moves are not zooms: they leave no step to go back to.
    explorer.originSwitch.value = 1;
    view.mouseDown({1, 1});
    view.mouseUp({1, 1});
    view.backButton(nullptr);
    EXPECT_DOUBLE_EQ(view.viewStep, 0.01);
    EXPECT_FALSE(view.canGoBack());
}

TEST(History, KeepsOnlyTheLatestWindows)
{
    TestExplorer explorer(40, 30, "0 threads");
    MyView &view = explorer.view;
    explorer.launch();
    for (int zoom = 0; zoom < 150; ++zoom)
        view.zoomOutButton(nullptr);
    int steps = 0;
    while (view.canGoBack()) {
        view.backButton(nullptr);
        ++steps;
    }
    EXPECT_EQ(steps, 100);
    EXPECT_DOUBLE_EQ(view.viewStep, 0.1 * (1LL << 50));
}

} // namespace dwell
