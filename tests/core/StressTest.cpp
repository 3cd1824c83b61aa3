#include "TestExplorer.h"

#include <gtest/gtest.h>

#include <random>

namespace dwell {

TEST(Stress, ResizesGesturesAndSettingsDuringPasses)
{
    std::mt19937 random(2024);
    TestExplorer explorer(100, 80, "16 threads", "1000 iterations");
    MyView &view = explorer.view;
    explorer.launch();
    const NSSize sizes[] = {{1, 1}, {16384, 2}, {2, 16384}, {150, 40}, {33, 97}, {100, 80}};
    for (int step = 0; step < 200; ++step) {
        const NSPoint p{float(random() % 100), float(random() % 80)};
        switch (random() % 6) {
        case 0:
            explorer.display.setBounds({{0, 0}, sizes[random() % 6]});
            explorer.display.setNeedsDisplay(true);
            break;
        case 1:
            explorer.originSwitch.value = int(random() % 2);
            explorer.click(p);
            break;
        case 2:
            view.mouseDown(p);
            view.mouseDragged({p.x + 30, p.y + 25});
            explorer.display.runPendingDisplays(true);
            view.mouseUp(p);
            break;
        case 3:
            explorer.dwellMenu.title = std::to_string(int(random() % 3000) - 100);
            view.doDwellMenu(&explorer.dwellMenu);
            break;
        case 4:
            explorer.threadMenu.title = std::to_string(random() % 12);
            view.doThreadMenu(&explorer.threadMenu);
            view.startButton(nullptr);
            break;
        default:
            explorer.escapeRadiusSlider.value = float(random() % 100);
            explorer.randomizerSwitch.value = int(random() % 2);
            explorer.clearSwitch.value = int(random() % 2);
            view.doResetOriginButton(nullptr);
            break;
        }
        explorer.display.runPendingDisplays(random() % 2 == 0);
    }
    // Once the superseded workers are gone, one undisturbed pass alone reaches the picture.
    explorer.display.setBounds({{0, 0}, {90, 70}});
    explorer.originSwitch.value = 0;
    view.resetButton(nullptr);
    explorer.threadMenu.title = "3 threads";
    view.doThreadMenu(&explorer.threadMenu);
    explorer.dwellMenu.title = "300";
    view.doDwellMenu(&explorer.dwellMenu);
    ASSERT_TRUE(explorer.waitForWorkers());
    explorer.display.forgetRequests();
    view.startButton(nullptr);
    const int finalPass = view.comp_sequence;
    ASSERT_TRUE(explorer.finishPass());
    ASSERT_EQ(view.comp_sequence, finalPass);
    std::vector<int> rows(70);
    for (const NSRect &strip : explorer.display.stripRequests()) {
        EXPECT_EQ(strip, (NSRect{{0, strip.origin.y}, {90, 1}}));
        ++rows.at(std::size_t(int(strip.origin.y)));
    }
    EXPECT_EQ(rows, std::vector<int>(70, 1));
    EXPECT_EQ(view.total_dwells, kernelTotal(view.scene(), 90, 70));
    EXPECT_EQ(view.acc_dwells, view.total_dwells);
    EXPECT_EQ(explorer.picture(), kernelPixels(view.scene(), 90, 70));
    EXPECT_EQ(explorer.display.shownPixels(), explorer.picture());
}

} // namespace dwell
