#include "DwellApplication.h"
#include "RenderCommand.h"

int main(int argc, char *argv[])
{
    if (wantsCommandLine(argc, argv))
        return runCommandLine(argc, argv);
    return dwellApplicationMain(argc, argv);
}
