// A long run of random gestures on the real window under Xvfb; see README.
#include "ShellCommand.h"
#include "SoakOptions.h"
#include "SoakRun.h"

#include <cstdio>

int main(int argc, char **argv)
{
    const auto options = dwell::SoakOptions::parse(argc, argv);
    if (!options)
        return 2;
    for (const char *tool : {"Xvfb", "xdotool", "import"}) {
        if (!dwell::onPath(tool)) {
            std::fprintf(stderr, "%s is needed for the soak\n", tool);
            return 2;
        }
    }
    return dwell::SoakRun(*options, DWELL_BINARY).run();
}
