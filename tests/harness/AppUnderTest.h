#pragma once

#include "KernelColors.h"
#include "Screenshot.h"

#include <chrono>
#include <string>
#include <sys/types.h>

namespace dwell {

// The real binary on an X display, output in files, driven by xdotool; when the object
// goes, the process is killed if still running and its files removed.
class AppUnderTest {
public:
    // logBase names the files that take standard output and error.
    AppUnderTest(const std::string &display, const std::string &binary, const std::string &logBase);
    ~AppUnderTest();
    AppUnderTest(const AppUnderTest &) = delete;
    AppUnderTest &operator=(const AppUnderTest &) = delete;

    // The window titled Dwell, empty when none appeared in time.
    const std::string &window() const { return m_window; }

    void xdotool(const std::string &arguments) const;
    // The xdotool words, to chain with others, that move the pointer to a point
    // relative to the view's top-left: the window's, below its menu bar.
    std::string moveCommand(int x, int y) const;
    // The window below its menu bar, once the first picture has shown where that ends.
    Screenshot screenshot() const;
    // Polls until the view shows expected, for up to limit; the share of
    // matching pixels in the last shot taken. The first call finds the view.
    double waitForPicture(const Picture &expected, std::chrono::seconds limit);
    // Asks the window to close as a window manager would.
    bool requestClose() const;
    // The exit status (128 + the signal if killed), or -1 if it has not ended within limit.
    int waitForExit(std::chrono::milliseconds limit);

    std::string output() const;
    // The first sign in standard error of a sanitizer report, crash or misused painter, or "".
    std::string troubleInErrors() const;

private:
    std::string m_display, m_stdout, m_stderr, m_config;
    static constexpr int kMenuBarRange = 80;
    // Rows above the view; -1 until a picture has been found.
    int m_viewTop = -1;
    pid_t m_pid = -1;
    int m_status = -1;
    std::string m_window;
};

} // namespace dwell
