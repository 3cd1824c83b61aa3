// The real binary under Xvfb, driven by xdotool and watched through
// screenshots taken with ImageMagick's import.
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

// The launch window, and the window that a click at pixel (x, y) zooms to:
// that point to the centre, twice as close, in the explorer's order of roundings.
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
    // The plain loop, which finds no cycles: a pass at a high limit in the
    // cardioid then surely outlasts the report that must catch it running.
    setenv("DWELL_KERNEL", "scalar", 1);
    AppUnderTest app(xvfb.display(), DWELL_BINARY,
                     ::testing::TempDir() + "dwell_e2e_" + std::to_string(getpid()));
    ASSERT_FALSE(app.window().empty()) << "no window titled Dwell";
    const auto clickAt = [&app](ControlLayout::Point at, const std::string &buttons) {
        app.mouseTo(at.x, at.y);
        app.xdotool(buttons);
    };

    ASSERT_EQ(app.waitForPicture(picture(kLaunch), 20s), 1.0);
    const Screenshot first = app.screenshot();
    EXPECT_GT(first.width, kWidth) << "the controls sit to the right of the view";
    EXPECT_GT(first.height, kHeight) << "the status line sits below the view";
    app.xdotool("key Tab");
    app.xdotool("key Escape");
    // Two clicks into the main cardioid, where every point needs the whole
    // dwell limit of the plain loop.
    const PlaneWindow once = clickZoom(kLaunch, 360, 240);
    EXPECT_LT(app.screenshot().shareMatching(picture(once)), 0.5) << "the zoom must be visible";
    app.mouseTo(360, 240);
    app.xdotool("click 1");
    ASSERT_EQ(app.waitForPicture(picture(once), 20s), 1.0);
    app.xdotool("click 1");
    ASSERT_EQ(app.waitForPicture(picture(clickZoom(once, 360, 240)), 20s), 1.0);
    const auto layout = ControlLayout::locate(app.screenshot(), kWidth);
    ASSERT_TRUE(layout) << "the controls were not found right of the view";
    // At 65536 iterations the pass there takes a minute: while it runs, some lines
    // above drawn ones are still undrawn, and the report lists them. The wheel
    // turned towards the user (button 5) moves down a menu.
    clickAt(layout->threadMenu, "click --repeat 8 --delay 20 4 click --repeat 3 --delay 20 5");
    clickAt(layout->dwellMenu, "click --repeat 6 --delay 20 5");
    // Lines in random order: drawn ones soon have undrawn ones above them.
    clickAt(layout->randomSwitch, "click 1");
    app.xdotool("key alt+s");
    // Long enough for some lines of the plain loop to be drawn, out of order.
    std::this_thread::sleep_for(3s);
    app.xdotool("key alt+r"); // the Report button's mnemonic
    // The mnemonic animates the press and clicks a moment later; then the
    // window is closed while the pass runs.
    std::this_thread::sleep_for(250ms);
    ASSERT_TRUE(app.requestClose());
    EXPECT_EQ(app.waitForExit(10s), 0);

    const std::string out = app.output();
    EXPECT_TRUE(std::regex_match(out, std::regex("keydown\nkeydown\n(line [0-9]+ not drawn!\n)+")))
        << out;
    EXPECT_EQ(app.troubleInErrors(), "") << app.errors();
}

} // namespace dwell
