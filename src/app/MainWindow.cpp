#include "MainWindow.h"

#include "ExplorerControls.h"
#include "ExplorerMenus.h"
#include "ExplorerWidget.h"
#include "LocationIO.h"
#include "MyView.h"
#include "PaletteLibrary.h"
#include "StatusLine.h"
#include "ui_MainWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QThread>

#include <cmath>
#include <cstdlib>

namespace dwell {

MainWindow::MainWindow(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
    selectThreadCount(QThread::idealThreadCount());
    m_controls = std::make_unique<ExplorerControls>(
        *m_ui->explorerView,
        ControlWidgets{*m_ui->threadMenu, *m_ui->dwellMenu, *m_ui->randomizerSwitch,
                       *m_ui->originSwitch, *m_ui->clearSwitch, *m_ui->escapeRadiusSlider,
                       *m_ui->startButton, *m_ui->resetButton, *m_ui->resetOriginButton,
                       *m_ui->reportButton, *m_ui->zoomOutButton, *m_ui->backButton,
                       *m_ui->saveButton});
    showEscapeRadius();
    auto *menus = new QMenuBar(this);
    addExplorerMenus(*menus, *this);
    layout()->setMenuBar(menus);
    m_ui->statusLine->watch([this] { return explorer().passStatus(); });
    connect(m_ui->escapeRadiusSlider, &QSlider::valueChanged, this, [this] { showEscapeRadius(); });
    setAcceptDrops(true);
    // The form's geometry is only a guess; the view's size hint decides.
    resize(sizeHint());
    restoreSettings();
}

MainWindow::~MainWindow() = default;

ExplorerWidget &MainWindow::explorer()
{
    return *m_ui->explorerView;
}

void MainWindow::selectThreadCount(int idealCount)
{
    const auto countAt = [this](int index) {
        return std::atoi(m_ui->threadMenu->itemText(index).toUtf8().constData());
    };
    int best = 0;
    for (int i = 1; i < m_ui->threadMenu->count(); ++i) {
        if (std::abs(countAt(i) - idealCount) < std::abs(countAt(best) - idealCount))
            best = i;
    }
    m_ui->threadMenu->setCurrentIndex(best);
}

void MainWindow::selectDwellLimit(int limit)
{
    QComboBox &menu = *m_ui->dwellMenu;
    for (int i = 0; i < menu.count(); ++i)
        if (std::atoi(menu.itemText(i).toUtf8().constData()) == limit) {
            menu.setCurrentIndex(i);
            return;
        }
    menu.addItem(tr("%1 iterations").arg(limit));
    menu.setCurrentIndex(menu.count() - 1);
}

void MainWindow::usePalette(const QString &name)
{
    QString why;
    Coloring next = explorer().view().currentColoring();
    if (!PaletteLibrary::find(name, &next.palette, &why)) {
        QMessageBox::warning(this, tr("Colouring"), why);
        return;
    }
    next.name = name.toStdString();
    explorer().view().setColoring(next);
    emit paletteChanged(name);
}

void MainWindow::goToLocation(const RenderRequest &location)
{
    Coloring coloring = location.coloring;
    QString why;
    if (PaletteLibrary::find(QString::fromStdString(coloring.name), &coloring.palette, &why)) {
        explorer().view().setColoring(coloring);
        emit paletteChanged(QString::fromStdString(coloring.name));
    }
    selectDwellLimit(location.maxDwell);
    m_ui->escapeRadiusSlider->setValue(
        int(std::lround(location.escapeRadius * ExplorerControls::kEscapeRadiusDivisor)));
    MyView &view = explorer().view();
    view.originX = location.originX;
    view.originY = location.originY;
    const std::optional<ExactWindow> window =
        ExactWindow::around(location.exactCenterX(), location.exactCenterY(), location.exactWidth(),
                            explorer().deviceSize().width(), explorer().deviceSize().height());
    if (window)
        explorer().goTo(*window);
}

void MainWindow::openLocation(const QString &path)
{
    QString why;
    const std::optional<RenderRequest> location = readLocation(path, &why);
    if (!location) {
        QMessageBox::warning(this, tr("Open"), tr("Cannot open %1: %2").arg(path, why));
        return;
    }
    goToLocation(*location);
}

RenderRequest MainWindow::location()
{
    const Scene scene = explorer().view().scene();
    // The view's own pixels, device pixels on a scaled display.
    const QSize size = explorer().deviceSize();
    RenderRequest r;
    r.width = size.width();
    r.height = size.height();
    if (scene.deep()) {
        r.centerXText = scene.exactCenterX;
        r.centerYText = scene.exactCenterY;
        r.widthText = scene.exactWidth;
    }
    const PlaneWindow &w = scene.window;
    r.centerX = w.viewX + w.viewStep * r.width * 0.5;
    r.centerY = w.viewY - w.viewStep * r.height * 0.5;
    r.planeWidth = w.viewStep * r.width;
    r.originX = scene.originX;
    r.originY = scene.originY;
    r.maxDwell = scene.maxDwell;
    r.escapeRadius = float(scene.escapeRadius);
    r.coloring.name = scene.palette;
    r.coloring.density = scene.density;
    r.coloring.offset = scene.offset;
    return r;
}

void MainWindow::restoreSettings()
{
    const QSettings settings;
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    const QString threads = settings.value(QStringLiteral("explorer/threads")).toString();
    if (const int index = m_ui->threadMenu->findText(threads); index >= 0)
        m_ui->threadMenu->setCurrentIndex(index);
    if (const int limit = settings.value(QStringLiteral("explorer/dwell")).toInt(); limit > 0)
        selectDwellLimit(limit);
    if (const QVariant escape = settings.value(QStringLiteral("explorer/escape")); escape.isValid())
        m_ui->escapeRadiusSlider->setValue(escape.toInt());
}

void MainWindow::saveSettings() const
{
    QSettings settings;
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("explorer/threads"), m_ui->threadMenu->currentText());
    settings.setValue(QStringLiteral("explorer/dwell"),
                      std::atoi(m_ui->dwellMenu->currentText().toUtf8().constData()));
    settings.setValue(QStringLiteral("explorer/escape"), m_ui->escapeRadiusSlider->value());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveSettings();
    QWidget::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    openLocation(event->mimeData()->urls().first().toLocalFile());
    event->acceptProposedAction();
}

void MainWindow::showEscapeRadius()
{
    m_ui->escapeRadiusValue->setText(QString::number(m_controls->escapeRadius(), 'f', 1));
}

} // namespace dwell
