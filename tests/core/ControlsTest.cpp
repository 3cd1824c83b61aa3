#include "TestExplorer.h"

#include <gtest/gtest.h>

#include <climits>

namespace dwell {

TEST(Controls, MenusTakeTheTitlesLeadingNumberAndStartNothing)
{
    TestExplorer explorer(40, 30, "0 threads");
    explorer.launch();
    const struct {
        const char *title;
        int value;
    } titles[] = {{"8 threads", 8},
                  {"  -3", -3},
                  {"none", 0},
                  {"+12x", 12},
                  {"65536 iterations", 65536},
                  {"99999999999", INT_MAX},
                  {"", 0}};
    for (const auto &t : titles) {
        StaticMenu menu(t.title);
        explorer.view.doThreadMenu(&menu);
        explorer.view.doDwellMenu(&menu);
        EXPECT_EQ(explorer.view.num_threads, t.value) << t.title;
        EXPECT_EQ(explorer.view.max_dwells, t.value) << t.title;
    }
    EXPECT_EQ(explorer.view.comp_sequence, 1);
    EXPECT_EQ(explorer.threads.started, 0);
}

TEST(Controls, ViewResetRestoresTheDefaultWindowOnly)
{
    TestExplorer explorer(512, 384, "0 threads", "500 iterations");
    explorer.launch();
    MyView &view = explorer.view;
    EXPECT_TRUE(explorer.display.isShown);
    EXPECT_EQ(explorer.display.firstResponder, &view);
    EXPECT_DOUBLE_EQ(view.viewX, -2.5);
    EXPECT_DOUBLE_EQ(view.viewStep, 0.0078125);
    EXPECT_DOUBLE_EQ(view.viewY, 1.5);

    explorer.originSwitch.value = 1;
    view.mouseDown({10, 10});
    view.mouseUp({10, 10});
    explorer.originSwitch.value = 0;
    view.mouseDown({10, 10});
    view.mouseUp({10, 10});
    const double originX = view.originX;
    ASSERT_NE(originX, 0.0);

    view.resetButton(nullptr);
    EXPECT_DOUBLE_EQ(view.viewX, -2.5);
    EXPECT_DOUBLE_EQ(view.viewStep, 0.0078125);
    EXPECT_DOUBLE_EQ(view.viewY, 1.5);
    EXPECT_EQ(view.originX, originX);
    EXPECT_EQ(view.max_dwells, 500);
    EXPECT_EQ(view.comp_sequence, 4);

    view.doResetOriginButton(nullptr);
    view.doResetOriginButton(nullptr);
    EXPECT_EQ(view.originX, 0.0);
    EXPECT_EQ(view.originY, 0.0);
    EXPECT_EQ(view.comp_sequence, 6);
}

TEST(Controls, SwitchStatesOtherThanOneAreOff)
{
    TestExplorer explorer(40, 30, "0 threads");
    explorer.launch();
    MyView &view = explorer.view;
    explorer.randomizerSwitch.value = 2;
    explorer.clearSwitch.value = 2;
    explorer.originSwitch.value = 2;
    view.bitmapData[0] = 7;
    const double step = view.viewStep;

    // A click zooms instead of moving the origin, then starts a pass that
    // neither clears the picture nor shuffles the lines.
    view.mouseDown({10, 10});
    view.mouseUp({10, 10});
    EXPECT_EQ(double(view.viewStep), step * 0.5);
    EXPECT_EQ(double(view.originX), 0.0);
    EXPECT_EQ(view.comp_sequence, 2);
    EXPECT_EQ(view.bitmapData[0], 7);
    for (int p = 0; p < 30; ++p)
        EXPECT_EQ(int(view.lineTable[p]), p);
}

} // namespace dwell
