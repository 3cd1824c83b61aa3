#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class MainWindow;
}

namespace dwell {

class ExplorerControls;
class ExplorerWidget;

// The window, loaded from its form.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    ExplorerWidget &explorer();

private:
    void selectThreadCount(int idealCount);
    void showEscapeRadius();

    const std::unique_ptr<Ui::MainWindow> m_ui;
    std::unique_ptr<ExplorerControls> m_controls;
};

} // namespace dwell
