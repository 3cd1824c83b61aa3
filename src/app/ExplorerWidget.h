#pragma once

#include "ExactWindow.h"
#include "ExplorerPlatform.h"
#include "PassStatus.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

namespace dwell {

class MyView;

// The explorer's view on screen: a retained surface that the explorer draws
// into and that paint events only copy out, and the mouse and keys for the
// explorer. It owns the platform layer, which owns the explorer.
class ExplorerWidget : public QWidget {
    Q_OBJECT

public:
    explicit ExplorerWidget(QWidget *parent = nullptr);
    ~ExplorerWidget() override;

    MyView &view();
    PassStatus passStatus();
    // Sends the explorer its end of launching: shows the window, draws the
    // view and starts the first pass.
    void launch();
    ExplorerPlatform &platform() { return m_platform; }
    // See ExplorerPlatform::stopWorkers.
    bool stopWorkers(int timeoutMs);

    const QImage &surface() const { return m_surface; }
    // The surface, made to match the widget's size in device pixels first.
    QImage &surfaceForDrawing();
    // On a scaled display the explorer works in device pixels, one image
    // pixel to each: its view is this size, and these map to and from it.
    QSize deviceSize() const;
    NSPoint viewPoint(QPointF position) const;
    QRect toLogical(const QRect &deviceRect) const;

    QSize sizeHint() const override;

    // The view's navigation, each followed by gestureEnded.
    void zoomOut();
    void back();
    void forward();
    void resetView();
    void goTo(const ExactWindow &window);

signals:
    // A gesture or navigation has ended: the plane window or the origin may have moved.
    void gestureEnded();

protected:
    bool event(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void noteActivation();
    bool acceptsPress();
    void applyWheel();
    // Runs one of the view's navigation actions, then says the window may have moved.
    void navigate(void (MyView::*action)(const void *));

    QImage m_surface;
    QElapsedTimer m_activeSince;
    bool m_tracking = false;
    // Notches of a turning wheel, gathered into one zoom and one pass.
    QTimer m_wheelTimer;
    double m_wheelNotches = 0.0;
    QPointF m_wheelAt;
    ExplorerPlatform m_platform{*this};
};

} // namespace dwell
