#include "MainWindow.h"

#include "ExplorerControls.h"
#include "ExplorerWidget.h"
#include "StatusLine.h"
#include "ui_MainWindow.h"

#include <QThread>

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
    m_ui->statusLine->watch([this] { return explorer().passStatus(); });
    connect(m_ui->escapeRadiusSlider, &QSlider::valueChanged, this, [this] { showEscapeRadius(); });
    // The form's geometry is only a guess; the view's size hint decides.
    resize(sizeHint());
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

void MainWindow::showEscapeRadius()
{
    m_ui->escapeRadiusValue->setText(QString::number(m_controls->escapeRadius(), 'f', 1));
}

} // namespace dwell
