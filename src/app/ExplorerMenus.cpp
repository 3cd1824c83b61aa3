#include "ExplorerMenus.h"

#include "ExplorerWidget.h"
#include "GoToDialog.h"
#include "LocationIO.h"
#include "MainWindow.h"
#include "MyView.h"
#include "RecentFolders.h"
#include "SaveImage.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace dwell {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ExplorerMenus", text);
}

void goTo(QWidget &window, ExplorerWidget &explorer)
{
    GoToDialog dialog(explorer.view().scene(), explorer.size(), &window);
    if (dialog.exec() == QDialog::Accepted && dialog.window())
        explorer.goTo(*dialog.window());
}

void toggleFullScreen(QWidget &window)
{
    window.setWindowState(window.windowState() ^ Qt::WindowFullScreen);
}

void openLocation(MainWindow &window)
{
    const QString path = QFileDialog::getOpenFileName(
        &window, tr("Open"), RecentFolders::folder(QStringLiteral("open")),
        tr("Locations and pictures (*.toml *.png);;All files (*)"));
    if (path.isEmpty())
        return;
    RecentFolders::remember(QStringLiteral("open"), path);
    window.openLocation(path);
}

void saveLocation(MainWindow &window)
{
    const QString path = QFileDialog::getSaveFileName(
        &window, tr("Save Location"),
        RecentFolders::in(QStringLiteral("save"), QStringLiteral("location.toml")),
        tr("Locations (*.toml)"));
    if (path.isEmpty())
        return;
    RecentFolders::remember(QStringLiteral("save"), path);
    QString why;
    if (!writeLocation(path, window.location(), &why))
        QMessageBox::warning(&window, tr("Save Location"),
                             tr("Cannot write %1: %2").arg(path, why));
}

void addFileMenu(QMenuBar &bar, MainWindow &window, ExplorerWidget &explorer)
{
    QMenu *file = bar.addMenu(tr("&File"));
    file->addAction(tr("&Open…"), QKeySequence(Qt::CTRL | Qt::Key_O), &window,
                    [&window] { openLocation(window); });
    file->addAction(tr("Save &Image…"), QKeySequence(Qt::CTRL | Qt::Key_S), &explorer,
                    [&explorer] { saveImage(explorer, explorer.view()); });
    file->addAction(tr("Save &Location…"), QKeySequence(Qt::CTRL | Qt::Key_L), &window,
                    [&window] { saveLocation(window); });
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), &window, &QWidget::close);
}

void addViewMenu(QMenuBar &bar, QWidget &window, ExplorerWidget &explorer)
{
    // Alt+V belongs to the Reset view button.
    QMenu *view = bar.addMenu(tr("Vie&w"));
    view->addAction(tr("Zoom &Out"), QKeySequence(Qt::CTRL | Qt::Key_Minus), &explorer,
                    &ExplorerWidget::zoomOut);
    QAction *back = view->addAction(tr("&Back"), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft),
                                    &explorer, &ExplorerWidget::back);
    QAction *forward =
        view->addAction(tr("&Forward"), QKeySequence(Qt::CTRL | Qt::Key_BracketRight), &explorer,
                        &ExplorerWidget::forward);
    view->addAction(tr("&Reset View"), QKeySequence(Qt::CTRL | Qt::Key_0), &explorer,
                    &ExplorerWidget::resetView);
    view->addAction(tr("&Go To…"), QKeySequence(Qt::CTRL | Qt::Key_G), &explorer,
                    [&window, &explorer] { goTo(window, explorer); });
    view->addSeparator();
    view->addAction(tr("F&ull Screen"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), &window,
                    [&window] { toggleFullScreen(window); });
    const auto update = [back, forward, &explorer] {
        back->setEnabled(explorer.view().canGoBack());
        forward->setEnabled(explorer.view().canGoForward());
    };
    update();
    QObject::connect(&explorer, &ExplorerWidget::gestureEnded, back, update);
}

} // namespace

void addExplorerMenus(QMenuBar &bar, MainWindow &window)
{
    addFileMenu(bar, window, window.explorer());
    addViewMenu(bar, window, window.explorer());
}

} // namespace dwell
