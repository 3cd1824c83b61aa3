#include "AppPassBench.h"
#include "RatioReporter.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    dwell::registerAppPassBenchmarks();
    const int status = dwell::RatioReporter::runBenchmarks(argc, argv);
    // Workers of the last pass may still be in their closing sleep.
    std::_Exit(status);
}
