#include "ShellCommand.h"

#include <cstdlib>

namespace dwell {

bool onPath(const std::string &program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace dwell
