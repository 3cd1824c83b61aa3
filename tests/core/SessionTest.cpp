#include "TestExplorer.h"

#include <gtest/gtest.h>

#include <random>

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

void expectExactPicture(TestExplorer &explorer)
{
    ASSERT_TRUE(explorer.finishPass());
    EXPECT_EQ(explorer.picture(), explorer.expectedPicture());
    EXPECT_EQ(explorer.display.shownPixels(), explorer.picture());
}

} // namespace

TEST(Session, LaunchZoomResizeAndReport)
{
    TestExplorer explorer(400, 300, "2 threads", "300 iterations");
    MyView &view = explorer.view;
    explorer.launch();
    EXPECT_TRUE(explorer.display.isShown);
    EXPECT_EQ(explorer.display.firstResponder, &view);
    EXPECT_EQ(view.num_threads, 2);
    EXPECT_EQ(view.max_dwells, 300);
    EXPECT_EQ(view.escapeRadius, 4.0);
    EXPECT_DOUBLE_EQ(view.viewX, -2.5);
    EXPECT_DOUBLE_EQ(view.viewStep, 0.01);
    EXPECT_DOUBLE_EQ(view.viewY, 1.5);
    expectExactPicture(explorer);
    EXPECT_EQ(view.comp_sequence, 1);

    view.mouseDown({100, 200});
    view.mouseDragged({300, 120});
    view.mouseUp({300, 120});
    EXPECT_DOUBLE_EQ(view.viewX, -1.5);
    EXPECT_DOUBLE_EQ(view.viewY, 0.5);
    EXPECT_DOUBLE_EQ(view.viewStep, 0.005);
    expectExactPicture(explorer);

    view.mouseDown({100, 200});
    view.mouseUp({100, 200});
    EXPECT_DOUBLE_EQ(view.viewX, -1.5);
    EXPECT_DOUBLE_EQ(view.viewY, 0.375);
    EXPECT_DOUBLE_EQ(view.viewStep, 0.0025);
    expectExactPicture(explorer);
    EXPECT_EQ(view.comp_sequence, 3);

    explorer.display.setBounds({{0, 0}, {500, 300}});
    explorer.display.setNeedsDisplay(true);
    explorer.display.runPendingDisplays();
    EXPECT_DOUBLE_EQ(view.viewX, -1.625);
    EXPECT_EQ(view.comp_sequence, 5);
    expectExactPicture(explorer);

    // Every strip of the pass was drawn, so nothing is reported...
    CaptureStdout();
    view.doReportButton(nullptr);
    EXPECT_EQ(GetCapturedStdout(), "");
    // ...until a pass draws only some strips.
    explorer.threadMenu.title = "0 threads";
    view.doThreadMenu(&explorer.threadMenu);
    view.startButton(nullptr);
    explorer.display.setNeedsDisplayInRect({{0, 297}, {500, 1}});
    explorer.display.runPendingDisplays();
    CaptureStdout();
    view.doReportButton(nullptr);
    EXPECT_EQ(GetCapturedStdout(), "line 298 not drawn!\nline 299 not drawn!\n");
}

TEST(Session, ImpatientUserStillGetsTheExactPicture)
{
    std::mt19937 random(12345);
    TestExplorer explorer(120, 90, "4 threads", "2000 iterations");
    MyView &view = explorer.view;
    explorer.launch();
    const char *dwellTitles[] = {"100", "2000", "-5", "0 none", "700 iterations"};
    const char *threadTitles[] = {"1 thread", "3 threads", "8 threads", "0"};
    for (int step = 0; step < 60; ++step) {
        const float x = float(random() % 120);
        const float y = float(random() % 90);
        switch (random() % 7) {
        case 0:
            view.startButton(nullptr);
            break;
        case 1:
            view.mouseDown({x, y});
            view.mouseUp({x, y});
            break;
        case 2:
            view.mouseDown({x, y});
            view.mouseDragged({x + 40, y - 30});
            explorer.display.runPendingDisplays(true);
            view.mouseUp({x + 40, y - 30});
            break;
        case 3:
            explorer.display.setBounds(
                {{0, 0}, {float(1 + random() % 160), float(1 + random() % 120)}});
            explorer.display.setNeedsDisplay(true);
            break;
        case 4:
            explorer.dwellMenu.title = dwellTitles[random() % 5];
            view.doDwellMenu(&explorer.dwellMenu);
            break;
        case 5:
            explorer.threadMenu.title = threadTitles[random() % 4];
            view.doThreadMenu(&explorer.threadMenu);
            break;
        default:
            explorer.originSwitch.value = int(random() % 2);
            explorer.randomizerSwitch.value = int(random() % 2);
            explorer.clearSwitch.value = int(random() % 2);
            break;
        }
        explorer.display.runPendingDisplays(random() % 2 == 0);
    }
    explorer.threadMenu.title = "3 threads";
    view.doThreadMenu(&explorer.threadMenu);
    explorer.dwellMenu.title = "400 iterations";
    view.doDwellMenu(&explorer.dwellMenu);
    view.resetButton(nullptr);
    expectExactPicture(explorer);
}
