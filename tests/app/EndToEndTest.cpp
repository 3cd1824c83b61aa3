// The real binary under Xvfb, driven by xdotool and watched through
// screenshots taken with ImageMagick's import.
#include "AppUnderTest.h"
#include "ControlLayout.h"
#include "PlaneModel.h"
#include "ShellCommand.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <unistd.h>

namespace dwell {

using namespace std::chrono_literals;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const PlaneModel kModel(kWidth, kHeight);

Picture picture(const PlaneWindow &plane)
{
    return expectedPicture(Scene{plane}, kWidth, kHeight);
}

class EndToEndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (onPath("Xvfb"))
            s_xvfb = std::make_unique<XvfbServer>();
    }

    static void TearDownTestSuite() { s_xvfb.reset(); }

    void SetUp() override
    {
        if (!s_xvfb)
            GTEST_SKIP() << "Xvfb is not installed: skipping the end-to-end tests";
        ASSERT_FALSE(s_xvfb->display().empty()) << "Xvfb did not start";
        ASSERT_TRUE(onPath("xdotool")) << "xdotool is needed to drive the application";
        ASSERT_TRUE(onPath("import")) << "ImageMagick's import is needed for screenshots";
        // The plain loop, which finds no cycles: a pass at a high limit in the
        // cardioid then surely outlasts the report that must catch it running.
        setenv("DWELL_KERNEL", "scalar", 1);
        m_app = std::make_unique<AppUnderTest>(s_xvfb->display(), DWELL_BINARY,
                                               ::testing::TempDir() + "dwell_e2e_" +
                                                   std::to_string(getpid()));
        ASSERT_FALSE(m_app->window().empty()) << "no window titled Dwell";
    }

    void TearDown() override { m_app.reset(); }

    void clickAt(ControlLayout::Point at, const std::string &buttons) const
    {
        m_app->mouseTo(at.x, at.y);
        m_app->xdotool(buttons);
    }

    double waitForPicture(const PlaneWindow &plane)
    {
        return m_app->waitForPicture(picture(plane), 20s);
    }

    static inline std::unique_ptr<XvfbServer> s_xvfb;
    std::unique_ptr<AppUnderTest> m_app;
};

} // namespace

TEST_F(EndToEndTest, ClicksZoomKeysAndReportPrintAndClosingEndsARunningPass)
{
    ASSERT_EQ(waitForPicture(kModel.reset()), 1.0);
    const Screenshot first = m_app->screenshot();
    EXPECT_GT(first.width, kWidth) << "the controls sit to the right of the view";
    EXPECT_GT(first.height, kHeight) << "the status line sits below the view";
    m_app->xdotool("key Tab");
    m_app->xdotool("key Escape");
    // Two clicks into the main cardioid, where every point needs the whole
    // dwell limit of the plain loop.
    const PlaneWindow once = kModel.clickZoom(kModel.reset(), 360, 240);
    EXPECT_LT(m_app->screenshot().shareMatching(picture(once)), 0.5) << "the zoom must be visible";
    m_app->mouseTo(360, 240);
    m_app->xdotool("click 1");
    ASSERT_EQ(waitForPicture(once), 1.0);
    m_app->xdotool("click 1");
    ASSERT_EQ(waitForPicture(kModel.clickZoom(once, 360, 240)), 1.0);
    const auto layout = ControlLayout::locate(m_app->screenshot(), kWidth);
    ASSERT_TRUE(layout) << "the controls were not found right of the view";
    // At 65536 iterations the pass there takes a minute: while it runs, some lines
    // above drawn ones are still undrawn, and the report lists them. The wheel
    // turned towards the user (button 5) moves down a menu.
    clickAt(layout->threadMenu, "click --repeat 8 --delay 20 4 click --repeat 3 --delay 20 5");
    clickAt(layout->dwellMenu, "click --repeat 6 --delay 20 5");
    // Lines in random order: drawn ones soon have undrawn ones above them.
    clickAt(layout->randomSwitch, "click 1");
    m_app->xdotool("key alt+s");
    // Long enough for some lines of the plain loop to be drawn, out of order.
    std::this_thread::sleep_for(3s);
    m_app->xdotool("key alt+r"); // the Report button's mnemonic
    // The mnemonic animates the press and clicks a moment later; then the
    // window is closed while the pass runs.
    std::this_thread::sleep_for(250ms);
    ASSERT_TRUE(m_app->requestClose());
    EXPECT_EQ(m_app->waitForExit(10s), 0);

    const std::string out = m_app->output();
    EXPECT_TRUE(std::regex_match(out, std::regex("keydown\nkeydown\n(line [0-9]+ not drawn!\n)+")))
        << out;
    EXPECT_EQ(m_app->troubleInErrors(), "") << m_app->errors();
}

} // namespace dwell
