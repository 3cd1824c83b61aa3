#include "DwellColor.h"
#include "TestExplorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <thread>
#include <vector>

namespace {

std::vector<int> schedule(const MyView &view)
{
    std::vector<int> lines;
    for (int p = 0; p < view.height; ++p)
        lines.push_back(view.lineTable[p]);
    return lines;
}

} // namespace

TEST(DwellColor, OneHexDigitPerChannel)
{
    const struct {
        int dwell;
        int r, g, b;
    } cases[] = {{-1, 0, 0, 0},   {0, 0, 0, 0},         {1, 16, 0, 0},         {15, 240, 0, 0},
                 {16, 0, 16, 0},  {17, 16, 16, 0},      {100, 64, 96, 0},      {255, 240, 240, 0},
                 {256, 0, 0, 16}, {1000, 128, 224, 48}, {4095, 240, 240, 240}, {4096, 0, 0, 0},
                 {4097, 16, 0, 0}};
    for (const auto &c : cases) {
        std::uint8_t rgb[3];
        storeDwellColor(c.dwell, rgb);
        EXPECT_EQ(rgb[0], c.r) << c.dwell;
        EXPECT_EQ(rgb[1], c.g) << c.dwell;
        EXPECT_EQ(rgb[2], c.b) << c.dwell;
    }
}

TEST(RenderPass, UndisturbedPassStoresEveryLineOnce)
{
    TestExplorer explorer(64, 48, "3 threads");
    explorer.launch();
    ASSERT_TRUE(explorer.finishPass());
    const MyView &view = explorer.view;
    const int h = 48;

    EXPECT_EQ(view.comp_sequence, 1);
    EXPECT_EQ(view.lastLine, h + 3);
    EXPECT_EQ(view.total_dwells, explorer.expectedTotal());
    EXPECT_EQ(view.acc_dwells, view.total_dwells);
    EXPECT_EQ(explorer.picture(), explorer.expectedPicture());

    std::vector<int> stripsPerRow(h);
    for (const NSRect &strip : explorer.display.stripRequests()) {
        EXPECT_EQ(strip.origin.x, 0);
        EXPECT_EQ(strip.size, (NSSize{64, 1}));
        ++stripsPerRow.at(std::size_t(strip.origin.y));
    }
    EXPECT_EQ(stripsPerRow, std::vector<int>(h, 1));
    EXPECT_EQ(explorer.display.fullRequests(), 2 * 3);
    EXPECT_EQ(explorer.threads.sleeps, 3);
}

TEST(RenderPass, ShuffledScheduleIsAReproduciblePermutation)
{
    auto shuffledSchedule = [] {
        TestExplorer explorer(40, 90);
        explorer.randomizerSwitch.value = 1;
        std::srand(7);
        explorer.launch();
        EXPECT_TRUE(explorer.finishPass());
        EXPECT_EQ(explorer.picture(), explorer.expectedPicture());
        return schedule(explorer.view);
    };
    const std::vector<int> first = shuffledSchedule();
    std::vector<int> identity(90);
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_NE(first, identity);
    std::vector<int> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, identity);
    EXPECT_EQ(shuffledSchedule(), first);
}

TEST(RenderPass, EmptyPicturesFinishAtOnce)
{
    // The reset at launch divides by the empty side: the window must stay usable.
    const auto expectFiniteWindow = [](const MyView &view) {
        EXPECT_TRUE(std::isfinite(double(view.viewStep)));
        EXPECT_GT(double(view.viewStep), 0.0);
        EXPECT_TRUE(std::isfinite(double(view.viewY)));
    };
    TestExplorer flat(50, 0, "2 threads");
    flat.launch();
    ASSERT_TRUE(flat.finishPass());
    EXPECT_EQ(flat.view.lastLine, 2);
    EXPECT_TRUE(flat.display.stripRequests().empty());
    EXPECT_EQ(flat.display.fullRequests(), 4);
    expectFiniteWindow(flat.view);

    TestExplorer narrow(0, 10, "1 thread");
    narrow.launch();
    ASSERT_TRUE(narrow.finishPass());
    const auto strips = narrow.display.stripRequests();
    ASSERT_EQ(strips.size(), 10u);
    for (const NSRect &strip : strips)
        EXPECT_EQ(strip.size, (NSSize{0, 1}));
    expectFiniteWindow(narrow.view);

    TestExplorer none(0, 0, "1 thread");
    none.launch();
    EXPECT_TRUE(none.finishPass());
    expectFiniteWindow(none.view);
}

TEST(RenderPass, ClearSwitchWhitensThePictureBeforeItIsShown)
{
    TestExplorer explorer(30, 20);
    explorer.launch();
    ASSERT_TRUE(explorer.finishPass());
    const auto computed = explorer.picture();
    explorer.threadMenu.title = "0";
    explorer.view.doThreadMenu(nullptr);

    explorer.view.startButton(nullptr);
    EXPECT_EQ(explorer.picture(), computed);

    explorer.clearSwitch.value = 1;
    explorer.display.forgetRequests();
    explorer.view.startButton(nullptr);
    const std::vector<std::uint8_t> white(30 * 20 * 3, 0xff);
    EXPECT_EQ(explorer.picture(), white);
    EXPECT_EQ(explorer.display.shownPixels(), white);
    EXPECT_EQ(explorer.display.immediateRects(), std::vector<NSRect>({{{0, 0}, {30, 20}}}));
    EXPECT_EQ(explorer.view.comp_sequence, 3);
}

TEST(RenderPass, PassClockRunsUntilTheLastLineIsStored)
{
    TestExplorer explorer(32, 24, "none");
    explorer.launch();
    ASSERT_TRUE(explorer.finishPass());
    // Without threads nothing is computed or redisplayed...
    EXPECT_EQ(explorer.threads.started, 0);
    EXPECT_EQ(explorer.picture(), std::vector<std::uint8_t>(32 * 24 * 3, 0xff));
    EXPECT_TRUE(explorer.display.stripRequests().empty());
    // ...and the pass never ends: its clock keeps running.
    const double waiting = explorer.view.passStatus().seconds;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GT(explorer.view.passStatus().seconds, waiting);

    explorer.threadMenu.title = "1 thread";
    explorer.view.doThreadMenu(&explorer.threadMenu);
    const auto restarted = std::chrono::steady_clock::now();
    explorer.view.startButton(nullptr);
    ASSERT_TRUE(explorer.finishPass());
    const double sinceRestart =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - restarted).count();
    const PassStatus done = explorer.view.passStatus();
    ASSERT_TRUE(done.finished());
    EXPECT_GT(done.seconds, 0);
    EXPECT_LE(done.seconds, sinceRestart);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(explorer.view.passStatus().seconds, done.seconds);
    EXPECT_EQ(explorer.picture(), explorer.expectedPicture());

    TestExplorer flat(50, 0, "2 threads");
    flat.launch();
    ASSERT_TRUE(flat.finishPass());
    EXPECT_EQ(flat.view.passStatus().seconds, 0);
}
