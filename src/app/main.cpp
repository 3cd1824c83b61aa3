#include "DwellApplication.h"
#include "RenderCommand.h"

#include <csignal>

int main(int argc, char *argv[])
{
    // A reader that goes away is a failed write, reported as such, not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);
    if (dwell::wantsCommandLine(argc, argv))
        return dwell::runCommandLine(argc, argv);
    return dwell::dwellApplicationMain(argc, argv);
}
