#pragma once

#include "RenderRequest.h"

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

    // Goes to the location: its window about the view's centre, its dwell
    // limit, escape bound and origin; the view keeps its own size.
    void goToLocation(const RenderRequest &location);
    // Reads a location file or a PNG Dwell saved and goes there; says why not otherwise.
    void openLocation(const QString &path);
    // The view's location, as a file can keep it.
    RenderRequest location();
    // Colours the picture with the named palette ("digits" for the dwell's
    // digits), keeping density, offset and interior; says why not otherwise.
    void usePalette(const QString &name);

signals:
    void paletteChanged(const QString &name);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void selectThreadCount(int idealCount);
    void selectDwellLimit(int limit);
    // The window's geometry and the controls' settings, between runs.
    void restoreSettings();
    void saveSettings() const;
    void showEscapeRadius();

    const std::unique_ptr<Ui::MainWindow> m_ui;
    std::unique_ptr<ExplorerControls> m_controls;
};

} // namespace dwell
