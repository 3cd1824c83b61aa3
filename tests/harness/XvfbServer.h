#pragma once

#include <string>
#include <sys/types.h>

namespace dwell {

// A virtual X server, on a display it picks, while the object lives; it dies with this process.
class XvfbServer {
public:
    static constexpr int kScreenWidth = 1024;
    static constexpr int kScreenHeight = 768;

    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    // Like ":3"; empty when the server did not start.
    const std::string &display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

} // namespace dwell
