#pragma once

#include "KernelColors.h"
#include "Screenshot.h"
#include "X11Session.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>

namespace dwell {

// The real binary on an X display, with its output in files, driven by
// xdotool. The process is killed, if still running, and its files removed
// when the object goes.
class AppUnderTest {
public:
    // logBase names the files that take standard output and error.
    AppUnderTest(const std::string &display, const std::string &binary, const std::string &logBase);
    ~AppUnderTest();
    AppUnderTest(const AppUnderTest &) = delete;
    AppUnderTest &operator=(const AppUnderTest &) = delete;

    // The window titled Dwell, empty when none appeared in time.
    const std::string &window() const { return m_window; }

    std::string run(const std::string &command) const;
    void xdotool(const std::string &arguments) const;
    // Points relative to the window's top-left.
    void mouseTo(int x, int y) const;
    Screenshot screenshot() const;
    // Polls until the window's top-left shows expected, for up to limit;
    // the share of matching pixels in the last shot taken.
    double waitForPicture(const Picture &expected, std::chrono::seconds limit) const;
    // Asks the window to close as a window manager would.
    bool requestClose() const;
    // None when the window cannot be read.
    std::optional<WindowSize> windowSize() const;

    bool running();
    // The exit status, 128 + the signal for a killed process, or -1 when it
    // has not ended within limit.
    int waitForExit(std::chrono::milliseconds limit);
    int exitStatus() const { return m_status; }

    std::string output() const;
    std::string errors() const;
    // The first sign in standard error of a sanitizer report, a crash or a
    // misused painter; empty when there is none.
    std::string troubleInErrors() const;

private:
    std::string m_display;
    std::string m_stdout;
    std::string m_stderr;
    pid_t m_pid = -1;
    int m_status = -1;
    std::string m_window;
};

} // namespace dwell
