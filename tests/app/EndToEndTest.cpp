// The real binary under Xvfb, driven by xdotool and watched through
// screenshots taken with ImageMagick's import.
#include "AppUnderTest.h"
#include "PlaneModel.h"
#include "ShellCommand.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <thread>
#include <unistd.h>

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
        m_app = std::make_unique<AppUnderTest>(s_xvfb->display(), DWELL_BINARY,
                                               ::testing::TempDir() + "dwell_e2e_" +
                                                   std::to_string(getpid()));
        ASSERT_FALSE(m_app->window().empty()) << "no window titled Dwell";
    }

    void TearDown() override { m_app.reset(); }

    double waitForPicture(const PlaneWindow &plane)
    {
        return m_app->waitForPicture(picture(plane), 20s);
    }

    static inline std::unique_ptr<XvfbServer> s_xvfb;
    std::unique_ptr<AppUnderTest> m_app;
};

} // namespace

TEST_F(EndToEndTest, FirstPassShowsTheKernelsPicture)
{
    EXPECT_EQ(waitForPicture(kModel.reset()), 1.0);
    const Screenshot shot = m_app->screenshot();
    EXPECT_GT(shot.width, kWidth) << "the controls sit to the right of the view";
    EXPECT_GT(shot.height, kHeight) << "the status line sits below the view";
}

TEST_F(EndToEndTest, ClickAndDragZoomWhereThePlaneWindowSays)
{
    ASSERT_EQ(waitForPicture(kModel.reset()), 1.0);

    const PlaneWindow clicked = kModel.clickZoom(kModel.reset(), 380, 120);
    EXPECT_LT(m_app->screenshot().shareMatching(picture(clicked)), 0.5)
        << "the zoom must be visible";
    m_app->mouseTo(380, 120);
    m_app->xdotool("click 1");
    EXPECT_EQ(waitForPicture(clicked), 1.0);

    // From (100, 100) to (300, 250) keeps 4:3, so this is the selection.
    m_app->mouseTo(100, 100);
    m_app->xdotool("mousedown 1");
    m_app->mouseTo(200, 170);
    m_app->mouseTo(300, 250);
    std::this_thread::sleep_for(300ms);
    const Screenshot dragging = m_app->screenshot();
    const auto under = picture(clicked);
    ASSERT_GE(dragging.width, kWidth);
    const Rgb frame = dragging.at(100, 100);
    for (const auto &[x, y] : {std::pair{299, 100}, {100, 249}, {299, 249}, {200, 100}, {100, 175}})
        EXPECT_EQ(dragging.at(x, y), frame) << "selection outline at " << x << "," << y;
    EXPECT_EQ(dragging.at(200, 99), under[99][200]) << "just above the selection";
    EXPECT_EQ(dragging.at(300, 175), under[175][300]) << "just right of the selection";
    EXPECT_NE(dragging.at(200, 175), under[175][200]) << "the selection is tinted";
    m_app->xdotool("mouseup 1");
    const auto selection = kModel.selection(100, 100, 300, 250);
    ASSERT_TRUE(selection);
    EXPECT_EQ(*selection, (NSRect{{100, 230}, {200, 150}}));
    EXPECT_EQ(waitForPicture(kModel.selectionZoom(clicked, *selection)), 1.0);
}

TEST_F(EndToEndTest, KeysAndReportPrintAndClosingEndsARunningPass)
{
    ASSERT_EQ(waitForPicture(kModel.reset()), 1.0);
    m_app->xdotool("key Tab");
    m_app->xdotool("key Escape");
    m_app->xdotool("key alt+r"); // the Report button's mnemonic
    // Start a pass and close the window while it runs.
    m_app->xdotool("key alt+s");
    ASSERT_TRUE(m_app->requestClose());
    EXPECT_EQ(m_app->waitForExit(10s), 0);

    const std::string out = m_app->output();
    EXPECT_TRUE(std::regex_match(out, std::regex("(keydown\n|line [0-9]+ not drawn!\n)*"))) << out;
    const std::regex keydown("keydown\n");
    EXPECT_EQ(std::distance(std::sregex_iterator(out.begin(), out.end(), keydown),
                            std::sregex_iterator()),
              2);
    EXPECT_EQ(m_app->troubleInErrors(), "") << m_app->errors();
}
