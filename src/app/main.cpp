#include "DwellApplication.h"
#include "RenderCommand.h"

#include <csignal>

int main(int argc, char *argv[])
{
    // A reader that goes away is a failed write, reported as such, not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);
    if (wantsCommandLine(argc, argv))
        return runCommandLine(argc, argv);
    return dwellApplicationMain(argc, argv);
}
