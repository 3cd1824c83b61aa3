#include "DwellApplication.h"

#include "ExplorerWidget.h"
#include "MainWindow.h"
#include "MyView.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace dwell {

int dwellApplicationMain(int &argc, char **argv)
{
    QApplication app(argc, argv);
    MainWindow window;
    app.setQuitOnLastWindowClosed(
        window.explorer().view().applicationShouldTerminateAfterLastWindowClosed());
    window.explorer().launch();
    const int status = app.exec();

    // Workers are detached and may be deep in a line: stop them from storing
    // anything, give them a moment, and leave without running destructors
    // that a straggler could race with.
    window.explorer().stopWorkers(250);
    std::fflush(stdout);
    std::_Exit(status);
}

} // namespace dwell
