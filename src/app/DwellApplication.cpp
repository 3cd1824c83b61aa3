#include "DwellApplication.h"

#include "ExplorerWidget.h"
#include "MainWindow.h"
#include "MyView.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

namespace dwell {

int dwellApplicationMain(int &argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("dwellexplorer"));
    QCoreApplication::setApplicationName(QStringLiteral("Dwell"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.dwellexplorer.Dwell"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/io.github.dwellexplorer.Dwell.png").arg(size));
    QApplication::setWindowIcon(icon);
    MainWindow window;
    app.setQuitOnLastWindowClosed(
        window.explorer().view().applicationShouldTerminateAfterLastWindowClosed());
    window.explorer().launch();
    // Qt has taken its own options out: what is left is a location to open.
    if (const QStringList words = QCoreApplication::arguments(); words.size() == 2)
        window.openLocation(words[1]);
    const int status = app.exec();

    // Workers are detached and may be deep in a line: stop them from storing
    // anything, give them a moment, and leave without running destructors
    // that a straggler could race with.
    window.explorer().stopWorkers(250);
    std::fflush(stdout);
    std::_Exit(status);
}

} // namespace dwell
