// The real binary under Xvfb, driven by xdotool and watched through
// screenshots taken with ImageMagick's import.
#include "KernelColors.h"
#include "X11Session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

bool onPath(const std::string &program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    Rgb at(int x, int y) const
    {
        const std::size_t i = 3 * (std::size_t(y) * std::size_t(width) + std::size_t(x));
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

PlaneWindow defaultPlane()
{
    const double step = 4.0 / double(float(kWidth));
    return {-2.5, (double(float(kHeight)) * step) * 0.5, step};
}

// The zoom a click at Qt pixel (x, y) makes: that plane point to the centre, twice as close.
PlaneWindow clickZoom(const PlaneWindow &old, int x, int y)
{
    const float px = float(x);
    const float py = float(kHeight) - float(y);
    const double newX = old.viewX + old.viewStep * px;
    const double newY = old.viewY - old.viewStep * (float(kHeight) - py);
    const double s = old.viewStep;
    return {newX - s * double(float(kWidth)) * 0.25, newY + s * double(float(kHeight)) * 0.25,
            s * 0.5};
}

// The zoom into a selection whose upper-left corner is Qt pixel (x, y).
PlaneWindow selectionZoom(const PlaneWindow &old, int x, int y, float width)
{
    return {old.viewX + old.viewStep * float(x), old.viewY - old.viewStep * float(y),
            old.viewStep * double(width / float(kWidth))};
}

class EndToEndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!onPath("Xvfb"))
            return;
        int fds[2];
        if (pipe(fds) != 0)
            return;
        s_xvfb = fork();
        if (s_xvfb == 0) {
            // Gone with the test, however it ends.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty())
            s_display = ":" + number;
    }

    static void TearDownTestSuite()
    {
        if (s_xvfb > 0) {
            kill(s_xvfb, SIGTERM);
            waitpid(s_xvfb, nullptr, 0);
        }
    }

    void SetUp() override
    {
        if (!onPath("Xvfb"))
            GTEST_SKIP() << "Xvfb is not installed: skipping the end-to-end tests";
        ASSERT_FALSE(s_display.empty()) << "Xvfb did not start";
        ASSERT_TRUE(onPath("xdotool")) << "xdotool is needed to drive the application";
        ASSERT_TRUE(onPath("import")) << "ImageMagick's import is needed for screenshots";

        const std::string base = ::testing::TempDir() + "dwell_e2e_" + std::to_string(getpid());
        m_stdout = base + ".out";
        m_stderr = base + ".err";
        m_app = fork();
        if (m_app == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            setenv("DISPLAY", s_display.c_str(), 1);
            const int out = open(m_stdout.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = open(m_stderr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(err, 2);
            execl(DWELL_BINARY, DWELL_BINARY, static_cast<char *>(nullptr));
            _exit(127);
        }
        ASSERT_GT(m_app, 0);
        m_window = run("timeout 20 xdotool search --sync --onlyvisible --name '^Dwell$' | head -n 1");
        ASSERT_FALSE(m_window.empty()) << "no window titled Dwell";
    }

    void TearDown() override
    {
        if (m_app > 0 && waitpid(m_app, nullptr, WNOHANG) == 0) {
            kill(m_app, SIGKILL);
            waitpid(m_app, nullptr, 0);
        }
        std::remove(m_stdout.c_str());
        std::remove(m_stderr.c_str());
    }

    std::string run(const std::string &command)
    {
        std::string output;
        if (FILE *pipe = popen(("DISPLAY=" + s_display + " " + command).c_str(), "r")) {
            char buffer[256];
            while (std::fgets(buffer, sizeof buffer, pipe))
                output += buffer;
            pclose(pipe);
        }
        while (!output.empty() && output.back() == '\n')
            output.pop_back();
        return output;
    }

    void xdotool(const std::string &arguments) { run("xdotool " + arguments); }

    void mouseTo(int x, int y)
    {
        xdotool("mousemove --window " + m_window + " " + std::to_string(x) + " " +
                std::to_string(y));
    }

    // The window's contents; the view is at its top-left.
    Screenshot screenshot()
    {
        Screenshot shot;
        FILE *pipe = popen(("import -display " + s_display + " -window " + m_window + " -depth 8 ppm:-")
                               .c_str(),
                           "r");
        if (!pipe)
            return shot;
        int maxValue = 0;
        if (std::fscanf(pipe, "P6 %d %d %d", &shot.width, &shot.height, &maxValue) == 3 &&
            maxValue == 255 && std::fgetc(pipe) != EOF) {
            shot.rgb.resize(3 * std::size_t(shot.width) * std::size_t(shot.height));
            if (std::fread(shot.rgb.data(), 1, shot.rgb.size(), pipe) != shot.rgb.size())
                shot.rgb.clear();
        }
        pclose(pipe);
        if (shot.rgb.empty())
            shot = {};
        return shot;
    }

    static double matching(const Screenshot &shot, const std::vector<std::vector<Rgb>> &expected)
    {
        if (shot.width < kWidth || shot.height < kHeight)
            return 0;
        long same = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                same += shot.at(x, y) == expected[std::size_t(y)][std::size_t(x)];
        return double(same) / double(kWidth * kHeight);
    }

    static std::vector<std::vector<Rgb>> picture(const PlaneWindow &plane)
    {
        std::vector<std::vector<Rgb>> lines;
        for (int line = 0; line < kHeight; ++line)
            lines.push_back(expectedLine(plane, line, kWidth));
        return lines;
    }

    // Waits for the view to show the kernel's picture of plane; returns the
    // share of matching pixels at the end.
    double waitForPicture(const PlaneWindow &plane)
    {
        const auto expected = picture(plane);
        double best = 0;
        for (auto deadline = std::chrono::steady_clock::now() + 20s;
             std::chrono::steady_clock::now() < deadline;) {
            best = matching(screenshot(), expected);
            if (best == 1.0)
                break;
            std::this_thread::sleep_for(200ms);
        }
        return best;
    }

    // The exit status, or -1 when the process has not ended in time.
    int waitForExit(std::chrono::seconds limit)
    {
        for (auto deadline = std::chrono::steady_clock::now() + limit;
             std::chrono::steady_clock::now() < deadline;) {
            int status = 0;
            if (waitpid(m_app, &status, WNOHANG) == m_app) {
                m_app = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1;
    }

    static inline pid_t s_xvfb = -1;
    static inline std::string s_display;
    pid_t m_app = -1;
    std::string m_window;
    std::string m_stdout;
    std::string m_stderr;
};

} // namespace

TEST_F(EndToEndTest, FirstPassShowsTheKernelsPicture)
{
    EXPECT_EQ(waitForPicture(defaultPlane()), 1.0);
    const Screenshot shot = screenshot();
    EXPECT_GT(shot.width, kWidth) << "the controls sit to the right of the view";
    EXPECT_GT(shot.height, kHeight) << "the status line sits below the view";
}

TEST_F(EndToEndTest, ClickAndDragZoomWhereThePlaneWindowSays)
{
    ASSERT_EQ(waitForPicture(defaultPlane()), 1.0);

    const PlaneWindow clicked = clickZoom(defaultPlane(), 380, 120);
    EXPECT_LT(matching(screenshot(), picture(clicked)), 0.5) << "the zoom must be visible";
    mouseTo(380, 120);
    xdotool("click 1");
    EXPECT_EQ(waitForPicture(clicked), 1.0);

    // From (100, 100) to (300, 250) keeps 4:3, so this is the selection.
    mouseTo(100, 100);
    xdotool("mousedown 1");
    mouseTo(200, 170);
    mouseTo(300, 250);
    std::this_thread::sleep_for(300ms);
    const Screenshot dragging = screenshot();
    const auto under = picture(clicked);
    ASSERT_GE(dragging.width, kWidth);
    const Rgb frame = dragging.at(100, 100);
    for (const auto &[x, y] : {std::pair{299, 100}, {100, 249}, {299, 249}, {200, 100}, {100, 175}})
        EXPECT_EQ(dragging.at(x, y), frame) << "selection outline at " << x << "," << y;
    EXPECT_EQ(dragging.at(200, 99), under[99][200]) << "just above the selection";
    EXPECT_EQ(dragging.at(300, 175), under[175][300]) << "just right of the selection";
    EXPECT_NE(dragging.at(200, 175), under[175][200]) << "the selection is tinted";
    xdotool("mouseup 1");
    EXPECT_EQ(waitForPicture(selectionZoom(clicked, 100, 100, 200)), 1.0);
}

TEST_F(EndToEndTest, KeysAndReportPrintAndClosingEndsARunningPass)
{
    ASSERT_EQ(waitForPicture(defaultPlane()), 1.0);
    xdotool("key Tab");
    xdotool("key Escape");
    xdotool("key alt+r"); // the Report button's mnemonic
    // Start a pass and close the window while it runs.
    xdotool("key alt+s");
    ASSERT_TRUE(requestWindowClose(s_display, std::stoul(m_window)));
    EXPECT_EQ(waitForExit(10s), 0);

    const std::string out = readFile(m_stdout);
    EXPECT_TRUE(std::regex_match(out, std::regex("(keydown\n|line [0-9]+ not drawn!\n)*"))) << out;
    const std::regex keydown("keydown\n");
    EXPECT_EQ(std::distance(std::sregex_iterator(out.begin(), out.end(), keydown),
                            std::sregex_iterator()),
              2);
    const std::string err = readFile(m_stderr);
    for (const char *trouble : {"Sanitizer", "runtime error", "QPainter", "Segmentation"})
        EXPECT_EQ(err.find(trouble), std::string::npos) << err;
}
