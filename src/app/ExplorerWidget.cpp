#include "ExplorerWidget.h"

#include "MyView.h"
#include "ViewGeometry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>
#include <utility>

namespace dwell {

namespace {

// A press this soon after the window became active is the click that
// activated it, which only activates.
constexpr qint64 kActivationClickMs = 150;

bool isModifierOnly(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

} // namespace

ExplorerWidget::ExplorerWidget(QWidget *parent) : QWidget(parent)
{
    // The explorer's own answers decide how the widget behaves.
    const MyView &explorer = view();
    setAttribute(Qt::WA_OpaquePaintEvent, explorer.isOpaque());
    setAttribute(Qt::WA_NoSystemBackground, explorer.isOpaque());
    setFocusPolicy(explorer.acceptsFirstResponder() ? Qt::StrongFocus : Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(1, 1);
    setMaximumSize(int(MyView::kMaxSide), int(MyView::kMaxSide));
    m_wheelTimer.setSingleShot(true);
    m_wheelTimer.setInterval(60);
    connect(&m_wheelTimer, &QTimer::timeout, this, &ExplorerWidget::applyWheel);
}

ExplorerWidget::~ExplorerWidget() = default;

MyView &ExplorerWidget::view()
{
    return m_platform.view();
}

PassStatus ExplorerWidget::passStatus()
{
    return view().passStatus();
}

void ExplorerWidget::launch()
{
    view().applicationDidFinishLaunching();
}

bool ExplorerWidget::stopWorkers(int timeoutMs)
{
    return m_platform.stopWorkers(timeoutMs);
}

QSize ExplorerWidget::sizeHint() const
{
    return {640, 480};
}

QSize ExplorerWidget::deviceSize() const
{
    const qreal scale = devicePixelRatioF();
    return QSize(int(std::lround(width() * scale)), int(std::lround(height() * scale)));
}

NSPoint ExplorerWidget::viewPoint(QPointF position) const
{
    return toViewPoint(position * devicePixelRatioF(), float(deviceSize().height()));
}

QRect ExplorerWidget::toLogical(const QRect &deviceRect) const
{
    const qreal scale = devicePixelRatioF();
    const QRectF logical(QRectF(deviceRect).topLeft() / scale, QRectF(deviceRect).size() / scale);
    return logical.toAlignedRect() & rect();
}

QImage &ExplorerWidget::surfaceForDrawing()
{
    const QSize wanted = deviceSize().expandedTo(QSize(1, 1));
    if (m_surface.size() != wanted) {
        QImage surface(wanted, QImage::Format_RGB32);
        surface.fill(Qt::white);
        m_surface = std::move(surface);
    }
    return m_surface;
}

bool ExplorerWidget::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Keys belong to the view; Alt combinations are left to the buttons'
        // mnemonics and Ctrl ones to the menus, as key equivalents go to
        // controls first. One no menu takes still reaches the view.
        if (!(static_cast<QKeyEvent *>(event)->modifiers() &
              (Qt::AltModifier | Qt::ControlModifier))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        // Straight to the handler, before Tab can move the focus.
        keyPressEvent(static_cast<QKeyEvent *>(event));
        return true;
    case QEvent::KeyRelease:
        keyReleaseEvent(static_cast<QKeyEvent *>(event));
        return true;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        noteActivation();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool ExplorerWidget::focusNextPrevChild(bool)
{
    return false;
}

void ExplorerWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange)
        noteActivation();
    QWidget::changeEvent(event);
}

void ExplorerWidget::noteActivation()
{
    if (!isActiveWindow())
        m_activeSince.invalidate();
    else if (!m_activeSince.isValid())
        m_activeSince.start();
}

bool ExplorerWidget::acceptsPress()
{
    noteActivation();
    if (!isActiveWindow())
        return false;
    return view().acceptsFirstMouse() || m_activeSince.elapsed() >= kActivationClickMs;
}

void ExplorerWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    const qreal scale = devicePixelRatioF();
    // Device pixels of the surface, one to one on the screen.
    const QRectF source(QPointF(area.topLeft()) * scale, QSizeF(area.size()) * scale);
    if (!QRectF(m_surface.rect()).contains(source))
        painter.fillRect(area, Qt::white);
    painter.drawImage(QRectF(area), m_surface, source & QRectF(m_surface.rect()));
}

void ExplorerWidget::resizeEvent(QResizeEvent *event)
{
    m_platform.resized();
    QWidget::resizeEvent(event);
}

void ExplorerWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_tracking = acceptsPress();
    if (m_tracking)
        view().mouseDown(viewPoint(event->position()));
}

void ExplorerWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_tracking && (event->buttons() & Qt::LeftButton))
        view().mouseDragged(viewPoint(event->position()));
}

void ExplorerWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_tracking)
        return;
    m_tracking = false;
    view().mouseUp(viewPoint(event->position()));
    emit gestureEnded();
}

void ExplorerWidget::wheelEvent(QWheelEvent *event)
{
    event->accept();
    // 120 units of angle make a notch.
    m_wheelNotches += event->angleDelta().y() / 120.0;
    m_wheelAt = event->position();
    m_wheelTimer.start();
}

void ExplorerWidget::applyWheel()
{
    const double notches = std::exchange(m_wheelNotches, 0.0);
    view().scrollWheel(viewPoint(m_wheelAt), notches);
    emit gestureEnded();
}

void ExplorerWidget::navigate(void (MyView::*action)(const void *))
{
    (view().*action)(nullptr);
    emit gestureEnded();
}

void ExplorerWidget::zoomOut()
{
    navigate(&MyView::zoomOutButton);
}

void ExplorerWidget::back()
{
    navigate(&MyView::backButton);
}

void ExplorerWidget::forward()
{
    navigate(&MyView::forwardButton);
}

void ExplorerWidget::resetView()
{
    navigate(&MyView::resetButton);
}

void ExplorerWidget::goTo(const ExactWindow &window)
{
    view().setExactWindow(window);
    view().startButton(nullptr);
    emit gestureEnded();
}

void ExplorerWidget::keyPressEvent(QKeyEvent *event)
{
    // Modifiers pressed on their own are not key presses for the explorer.
    if (isModifierOnly(event->key())) {
        event->ignore();
        return;
    }
    event->accept();
    view().keyDown();
}

void ExplorerWidget::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
    // Auto-repeat sends a release before every repeated press; only the
    // real one counts.
    if (event->isAutoRepeat() || isModifierOnly(event->key()))
        return;
    view().keyUp();
}

} // namespace dwell
