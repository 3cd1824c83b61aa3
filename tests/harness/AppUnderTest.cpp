#include "AppUnderTest.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Last: Xlib's macros must not reach any other header.
#include <X11/Xlib.h>

namespace dwell {

using namespace std::chrono_literals;

namespace {

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The standard output of a shell command, without its trailing newlines.
std::string commandOutput(const std::string &display, const std::string &command)
{
    std::string output;
    if (FILE *pipe = popen(("DISPLAY=" + display + " " + command).c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

} // namespace

AppUnderTest::AppUnderTest(const std::string &display, const std::string &binary,
                           const std::string &logBase)
    : m_display(display), m_stdout(logBase + ".out"), m_stderr(logBase + ".err"),
      m_config(logBase + ".config")
{
    m_pid = fork();
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("DISPLAY", display.c_str(), 1);
        // Settings of its own, so that every run starts as launched.
        setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
        const int out = open(m_stdout.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(m_stderr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        execl(binary.c_str(), binary.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    if (m_pid > 0)
        m_window = commandOutput(
            display, "timeout 20 xdotool search --sync --onlyvisible --name '^Dwell$' | head -n 1");
}

AppUnderTest::~AppUnderTest()
{
    if (m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    std::remove(m_stdout.c_str());
    std::remove(m_stderr.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(m_config, ignored);
}

void AppUnderTest::xdotool(const std::string &arguments) const
{
    commandOutput(m_display, "xdotool " + arguments);
}

std::string AppUnderTest::moveCommand(int x, int y) const
{
    return "mousemove --window " + m_window + " " + std::to_string(x) + " " +
           std::to_string(y + std::max(m_viewTop, 0)) + " ";
}

Screenshot AppUnderTest::screenshot() const
{
    return Screenshot::ofWindow(m_display, m_window).below(m_viewTop);
}

double AppUnderTest::waitForPicture(const Picture &expected, std::chrono::seconds limit)
{
    double last = 0;
    for (auto deadline = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < deadline;) {
        const Screenshot shot = Screenshot::ofWindow(m_display, m_window);
        // The view sits below the menu bar, whose height the first picture tells.
        for (int top = 0; m_viewTop < 0 && top < kMenuBarRange; ++top)
            if (shot.below(top).shareMatching(expected) == 1.0)
                m_viewTop = top;
        last = shot.below(m_viewTop).shareMatching(expected);
        if (last == 1.0)
            break;
        std::this_thread::sleep_for(200ms);
    }
    return last;
}

bool AppUnderTest::requestClose() const
{
    ::Display *connection = m_window.empty() ? nullptr : XOpenDisplay(m_display.c_str());
    if (!connection)
        return false;
    // A WM_DELETE_WINDOW message, as a window manager sends it.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(m_window);
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(connection); // which sends it
    return true;
}

int AppUnderTest::waitForExit(std::chrono::milliseconds limit)
{
    for (auto deadline = std::chrono::steady_clock::now() + limit;;) {
        int status = 0;
        if (m_pid > 0 && waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (m_pid <= 0 || std::chrono::steady_clock::now() >= deadline)
            return m_pid <= 0 ? m_status : -1;
        std::this_thread::sleep_for(50ms);
    }
}

std::string AppUnderTest::output() const
{
    return readFile(m_stdout);
}

std::string AppUnderTest::troubleInErrors() const
{
    const std::string err = readFile(m_stderr);
    for (const char *trouble : {"Sanitizer", "runtime error", "QPainter", "Segmentation"}) {
        const auto at = err.find(trouble);
        if (at == std::string::npos)
            continue;
        const auto lineStart = err.rfind('\n', at);
        return err.substr(lineStart == std::string::npos ? 0 : lineStart + 1, 2000);
    }
    return {};
}

} // namespace dwell
