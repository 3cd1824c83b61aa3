#include "TestExplorer.h"

#include <gtest/gtest.h>

namespace dwell {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(Keyboard, EveryPressPrintsAndStrokesOutsideTheDisplayCycle)
{
    TestExplorer explorer(40, 30, "0 threads");
    explorer.launch();
    const auto picture = explorer.picture();
    explorer.display.takeOps();

    CaptureStdout();
    explorer.view.keyDown();
    explorer.view.keyDown();
    explorer.view.keyUp();
    EXPECT_EQ(GetCapturedStdout(), "keydown\nkeydown\n");

    const auto ops = explorer.display.takeOps();
    ASSERT_EQ(ops.size(), 4u);
    for (int press = 0; press < 2; ++press) {
        const auto &stroke = ops[2 * press];
        EXPECT_EQ(stroke.kind, FakeDisplay::OpKind::Stroke);
        EXPECT_TRUE(stroke.outsideDisplayCycle);
        EXPECT_EQ(stroke.from, (NSPoint{-100, -100}));
        EXPECT_EQ(stroke.to, (NSPoint{200, 300}));
        EXPECT_EQ(stroke.lineWidth, 20.0f);
        EXPECT_EQ(ops[2 * press + 1].kind, FakeDisplay::OpKind::Flush);
    }
    EXPECT_EQ(explorer.picture(), picture);
}

TEST(Report, ListsUnmarkedRowsAboveTheFirstMarkedOne)
{
    TestExplorer explorer(40, 12, "0 threads");
    explorer.launch();
    auto report = [&] {
        CaptureStdout();
        explorer.view.doReportButton(nullptr);
        return GetCapturedStdout();
    };
    EXPECT_EQ(report(), "");

    explorer.display.setNeedsDisplayInRect({{0, 5}, {40, 2}});
    explorer.display.setNeedsDisplayInRect({{0, 9}, {40, 1}});
    explorer.display.setNeedsDisplay(true);
    explorer.display.runPendingDisplays();
    const std::string expected =
        "line 7 not drawn!\nline 8 not drawn!\nline 10 not drawn!\nline 11 not drawn!\n";
    EXPECT_EQ(report(), expected);
    EXPECT_EQ(report(), expected);

    explorer.display.setNeedsDisplayInRect({{0, 0}, {40, 11}});
    explorer.display.setNeedsDisplayInRect({{0, 11}, {40, 1}});
    explorer.display.runPendingDisplays();
    EXPECT_EQ(report(), "");

    // A new pass starts with nothing marked.
    explorer.view.startButton(nullptr);
    EXPECT_EQ(report(), "");
}

} // namespace dwell
