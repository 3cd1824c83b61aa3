#include "TestExplorer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace dwell {

TEST(RenderPass, ShuffleExchangesEachPositionWithARandomOneOncePerPass)
{
    const int h = 90;
    // Each position exchanged with a random one, in order, from one draw per line.
    std::srand(7);
    std::vector<int> expected(h);
    std::iota(expected.begin(), expected.end(), 0);
    for (int x = 0; x < h; ++x)
        std::swap(expected[std::size_t(x)], expected[std::size_t(std::rand() % h)]);
    // Declared before the explorer, so they outlive the worker it waits for.
    std::size_t stripsBeforeSleep = 0;
    int fullBeforeSleep = -1;
    std::vector<unsigned> sleeps;
    TestExplorer explorer(40, h, "1 thread");
    explorer.threads.onSleep = [&](unsigned seconds) {
        sleeps.push_back(seconds);
        stripsBeforeSleep = explorer.display.stripRequests().size();
        fullBeforeSleep = explorer.display.fullRequests();
    };
    explorer.randomizerSwitch.value = 1;
    std::srand(7);
    explorer.launch();
    ASSERT_TRUE(explorer.finishPass());
    // A single worker begins the lines in the schedule's order.
    std::vector<int> shown;
    for (const NSRect &strip : explorer.display.stripRequests())
        shown.push_back(h - 1 - int(strip.origin.y));
    EXPECT_EQ(shown, expected);
    // Every line is requested before the worker's one-second wait, and the whole view once.
    EXPECT_EQ(stripsBeforeSleep, std::size_t(h));
    EXPECT_EQ(fullBeforeSleep, 1);
    EXPECT_EQ(sleeps, std::vector<unsigned>{1});

    // A start whose redisplay finds the view resized leaves the schedule to the resize's pass:
    // one draw per line, as a second shuffle would reorder lines under its workers.
    explorer.display.setBounds({{0, 0}, {50, 60}});
    std::srand(11);
    explorer.view.startButton(nullptr);
    const int afterStart = std::rand();
    ASSERT_TRUE(explorer.finishPass());
    EXPECT_EQ(explorer.view.comp_sequence, 4);
    std::srand(11);
    for (int draw = 0; draw < 60; ++draw)
        std::rand();
    EXPECT_EQ(afterStart, std::rand());
    EXPECT_EQ(explorer.picture(), kernelPixels(explorer.view.scene(), 50, 60));
    EXPECT_EQ(explorer.view.passStatus().iterations, kernelTotal(explorer.view.scene(), 50, 60));
}

TEST(RenderPass, EmptyPicturesFinishAtOnce)
{
    for (const NSSize size : {NSSize{50, 0}, NSSize{0, 10}, NSSize{0, 0}}) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        TestExplorer explorer(size.width, size.height);
        explorer.launch();
        ASSERT_TRUE(explorer.finishPass());
        MyView &view = explorer.view;
        EXPECT_EQ(explorer.display.stripRequests().size(), std::size_t(size.height));
        if (size.height == 0) {
            EXPECT_EQ(view.passStatus().seconds, 0);
        }
        // The reset at launch divides by the empty side: the window must stay usable.
        EXPECT_TRUE(std::isfinite(double(view.viewStep)) && double(view.viewStep) > 0.0);
        EXPECT_TRUE(std::isfinite(double(view.viewY)));
    }
}

TEST(RenderPass, DwellLimitChangedMidPassAppliesToLaterLinesAndMarksThePassMixed)
{
    // One worker takes the lines top to bottom; the limit drops as line 14 is stored.
    const int w = 40, h = 30, changedAfter = 15;
    // Declared before the explorer, so they outlive the workers it waits for.
    StaticMenu lowLimit("10 iterations");
    int stored = 0;
    TestExplorer explorer(w, h, "1 thread", "200 iterations");
    explorer.display.onStripRequest = [&](NSRect) {
        if (++stored == changedAfter)
            explorer.view.doDwellMenu(&lowLimit);
    };
    explorer.launch();
    ASSERT_TRUE(explorer.finishPass());
    Scene scene = explorer.view.scene();
    scene.maxDwell = 200;
    const auto before = kernelPixels(scene, w, h);
    scene.maxDwell = 10;
    const auto after = kernelPixels(scene, w, h);
    const auto split = std::ptrdiff_t(changedAfter) * w * 3;
    std::vector<std::uint8_t> expected(before.begin(), before.begin() + split);
    expected.insert(expected.end(), after.begin() + split, after.end());
    // Both parts of the picture show which limit they were computed with.
    ASSERT_NE(expected, before);
    ASSERT_NE(expected, after);
    EXPECT_EQ(explorer.picture(), expected);
    const auto mixed = explorer.view.picture();
    ASSERT_TRUE(mixed && mixed->complete);
    EXPECT_TRUE(mixed->scene.maxDwell == 200 && mixed->scene.mixedDwell);
    // A new pass is computed with one limit; a later change leaves its record alone.
    explorer.view.startButton(nullptr);
    ASSERT_TRUE(explorer.finishPass());
    StaticMenu highLimit("300 iterations");
    explorer.view.doDwellMenu(&highLimit);
    const Scene clean = explorer.view.picture()->scene;
    EXPECT_TRUE(clean.maxDwell == 10 && !clean.mixedDwell);
}

TEST(RenderPass, NoWorkersFailedStartsAndTheClearSwitch)
{
    TestExplorer explorer(32, 24, "none");
    explorer.launch();
    ASSERT_TRUE(explorer.finishPass());
    // Without threads nothing is computed or redisplayed, which is no failure.
    EXPECT_TRUE(explorer.display.stripRequests().empty());
    EXPECT_FALSE(explorer.view.passStatus().failed);
    // Threads asked for but none started: that pass has failed.
    explorer.threadMenu.title = "2 threads";
    explorer.view.doThreadMenu(nullptr);
    explorer.threads.refuse = true;
    explorer.view.startButton(nullptr);
    EXPECT_TRUE(explorer.view.passStatus().failed);
    explorer.threads.refuse = false;
    explorer.view.startButton(nullptr);
    ASSERT_TRUE(explorer.finishPass());
    EXPECT_TRUE(explorer.view.passStatus().finished() && !explorer.view.passStatus().failed);

    // The clear switch whitens the picture at once, and only when it is on.
    const auto computed = explorer.picture();
    explorer.threadMenu.title = "0";
    explorer.view.doThreadMenu(nullptr);
    explorer.clearSwitch.value = 2;
    explorer.view.startButton(nullptr);
    EXPECT_EQ(explorer.picture(), computed);
    explorer.clearSwitch.value = 1;
    explorer.view.startButton(nullptr);
    EXPECT_EQ(explorer.display.shownPixels(), std::vector<std::uint8_t>(32 * 24 * 3, 0xff));
}

} // namespace dwell
