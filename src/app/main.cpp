#include "DwellApplication.h"

int main(int argc, char *argv[])
{
    return dwellApplicationMain(argc, argv);
}
