#include "ExplorerMenus.h"

#include "ExplorerWidget.h"
#include "GoToDialog.h"
#include "LocationIO.h"
#include "MainWindow.h"
#include "MyView.h"
#include "PaletteLibrary.h"
#include "RecentFolders.h"
#include "SaveImage.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include <cmath>

namespace dwell {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ExplorerMenus", text);
}

void goTo(MainWindow &window)
{
    GoToDialog dialog(window.location(), &window);
    if (dialog.exec() == QDialog::Accepted && dialog.window())
        window.explorer().goTo(*dialog.window());
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

void addViewMenu(QMenuBar &bar, MainWindow &window, ExplorerWidget &explorer)
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
                    [&window] { goTo(window); });
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

// Density and offset, applied as they change.
void editSpread(QWidget &window, ExplorerWidget &explorer)
{
    auto *dialog = new QDialog(&window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Density and Offset"));
    auto *form = new QFormLayout(dialog);
    auto *density = new QDoubleSpinBox(dialog);
    density->setRange(0.001, 1000.0);
    density->setDecimals(3);
    density->setSingleStep(0.1);
    auto *offset = new QDoubleSpinBox(dialog);
    offset->setRange(0.0, 1.0);
    offset->setDecimals(3);
    offset->setSingleStep(0.02);
    offset->setWrapping(true);
    const Coloring now = explorer.view().currentColoring();
    density->setValue(now.density);
    offset->setValue(now.offset - std::floor(now.offset));
    form->addRow(tr("Palette repeats per 32 dwells:"), density);
    form->addRow(tr("Shift along the palette:"), offset);
    const auto apply = [&explorer, density, offset] {
        Coloring next = explorer.view().currentColoring();
        next.density = density->value();
        next.offset = offset->value();
        explorer.view().setColoring(next);
    };
    QObject::connect(density, &QDoubleSpinBox::valueChanged, dialog, apply);
    QObject::connect(offset, &QDoubleSpinBox::valueChanged, dialog, apply);
    dialog->show();
}

void chooseInterior(QWidget &window, ExplorerWidget &explorer)
{
    Coloring next = explorer.view().currentColoring();
    const QColor chosen =
        QColorDialog::getColor(QColor(next.interior[0], next.interior[1], next.interior[2]),
                               &window, tr("Interior Colour"));
    if (!chosen.isValid())
        return;
    next.interior = {std::uint8_t(chosen.red()), std::uint8_t(chosen.green()),
                     std::uint8_t(chosen.blue())};
    explorer.view().setColoring(next);
}

void addColoringMenu(QMenuBar &bar, MainWindow &window)
{
    QMenu *menu = bar.addMenu(tr("&Colouring"));
    auto *group = new QActionGroup(menu);
    for (const QString &name : PaletteLibrary::names()) {
        QString title = name == PaletteLibrary::kDigits ? tr("Dwell Digits") : name;
        title[0] = title[0].toUpper();
        QAction *action =
            menu->addAction(title, &window, [&window, name] { window.usePalette(name); });
        action->setCheckable(true);
        action->setData(name);
        action->setChecked(name == PaletteLibrary::kDigits);
        group->addAction(action);
    }
    QObject::connect(&window, &MainWindow::paletteChanged, group, [group](const QString &name) {
        for (QAction *action : group->actions())
            action->setChecked(action->data().toString() == name);
    });
    menu->addSeparator();
    menu->addAction(tr("Density and Offset…"), &window,
                    [&window] { editSpread(window, window.explorer()); });
    menu->addAction(tr("Interior Colour…"), &window,
                    [&window] { chooseInterior(window, window.explorer()); });
}

} // namespace

void addExplorerMenus(QMenuBar &bar, MainWindow &window)
{
    addFileMenu(bar, window, window.explorer());
    addViewMenu(bar, window, window.explorer());
    addColoringMenu(bar, window);
}

} // namespace dwell
