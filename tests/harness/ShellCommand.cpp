#include "ShellCommand.h"

#include <cstdio>
#include <cstdlib>

namespace dwell {

bool onPath(const std::string &program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

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

} // namespace dwell
