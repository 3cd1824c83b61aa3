#pragma once

#include <string>

namespace dwell {

// Whether program can be found on PATH.
bool onPath(const std::string &program);

// The standard output of a shell command run with DISPLAY set to display,
// without its trailing newlines.
std::string commandOutput(const std::string &display, const std::string &command);

} // namespace dwell
