#pragma once

#include <cstdlib>
#include <string>

namespace dwell {

// Whether program can be found on PATH.
inline bool onPath(const std::string &program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace dwell
