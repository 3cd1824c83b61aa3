#pragma once

#include <string>

namespace dwell {

// Whether program can be found on PATH.
bool onPath(const std::string &program);

} // namespace dwell
