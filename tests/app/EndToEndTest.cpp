// The real binary under Xvfb, driven by xdotool and watched through ImageMagick's import.
#include "AppUnderTest.h"
#include "ControlLayout.h"
#include "ShellCommand.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <thread>
#include <unistd.h>

namespace dwell {

using namespace std::chrono_literals;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// The launch window, and the one a click at (x, y) zooms to, in the explorer's roundings.
constexpr double kLaunchStep = 4.0 / kWidth;
const PlaneWindow kLaunch{-2.5, (kHeight * kLaunchStep) * 0.5, kLaunchStep};

PlaneWindow clickZoom(const PlaneWindow &old, int x, int y)
{
    const double s = old.viewStep;
    return {old.viewX + s * x - s * kWidth * 0.25, old.viewY - s * y + s * kHeight * 0.25, s * 0.5};
}

Picture picture(const PlaneWindow &plane)
{
    return expectedPicture(Scene{plane}, kWidth, kHeight);
}

} // namespace

TEST(EndToEnd, ClicksZoomKeysAndReportPrintAndClosingEndsARunningPass)
{
    if (!onPath("Xvfb"))
        GTEST_SKIP() << "Xvfb is not installed: skipping the end-to-end test";
    const XvfbServer xvfb;
    ASSERT_FALSE(xvfb.display().empty()) << "Xvfb did not start";
    ASSERT_TRUE(onPath("xdotool")) << "xdotool is needed to drive the application";
    ASSERT_TRUE(onPath("import")) << "ImageMagick's import is needed for screenshots";
    // The plain loop finds no cycles: a high limit in the cardioid outlasts the report.
    setenv("DWELL_KERNEL", "scalar", 1);
    AppUnderTest app(xvfb.display(), DWELL_BINARY,
                     ::testing::TempDir() + "dwell_e2e_" + std::to_string(getpid()));
    ASSERT_FALSE(app.window().empty()) << "no window titled Dwell";
    const auto clickAt = [&app](ControlLayout::Point at, const std::string &buttons) {
        app.xdotool(app.moveCommand(at.x, at.y) + buttons);
    };

    ASSERT_EQ(app.waitForPicture(picture(kLaunch), 20s), 1.0);
    app.xdotool("key Tab");
    app.xdotool("key Escape");
    // Two clicks into the main cardioid, where the plain loop runs every point to the limit.
    const PlaneWindow once = clickZoom(kLaunch, 360, 240);
    EXPECT_LT(app.screenshot().shareMatching(picture(once)), 0.5) << "the zoom must be visible";
    clickAt({360, 240}, "click 1");
    ASSERT_EQ(app.waitForPicture(picture(once), 20s), 1.0);
    app.xdotool("click 1");
    ASSERT_EQ(app.waitForPicture(picture(clickZoom(once, 360, 240)), 20s), 1.0);
    const auto layout = ControlLayout::locate(app.screenshot(), kWidth);
    ASSERT_TRUE(layout) << "the controls were not found right of the view";
    // At 65536 iterations the pass there takes a minute, long enough for the report to
    // find undrawn lines above drawn ones. Button 5, the wheel towards the user, goes down.
    clickAt(layout->threadMenu, "click --repeat 8 --delay 20 4 click --repeat 3 --delay 20 5");
    clickAt(layout->dwellMenu, "click --repeat 6 --delay 20 5");
    // Lines in random order: within 3 s some drawn ones have undrawn ones above them.
    clickAt(layout->randomSwitch, "click 1");
    app.xdotool("key alt+s");
    std::this_thread::sleep_for(3s);
    app.xdotool("key alt+r"); // the Report button's mnemonic
    // The mnemonic clicks a moment after it animates the press; then close mid-pass.
    std::this_thread::sleep_for(250ms);
    ASSERT_TRUE(app.requestClose());
    EXPECT_EQ(app.waitForExit(10s), 0);

    const std::string out = app.output();
    EXPECT_TRUE(std::regex_match(out, std::regex("keydown\nkeydown\n(line [0-9]+ not drawn!\n)+")))
        << out;
    EXPECT_EQ(app.troubleInErrors(), "");
}

} // namespace dwell
