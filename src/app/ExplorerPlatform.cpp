#include "ExplorerPlatform.h"

#include "ExplorerWidget.h"
#include "MyView.h"
#include "NullGraphicsContext.h"
#include "SurfaceContext.h"
#include "ViewGeometry.h"

#include <QTimer>

#include <utility>

namespace dwell {

ExplorerPlatform::ExplorerPlatform(ExplorerWidget &widget)
    : m_widget(widget), m_pending([this] {
          // Runs on worker threads too: posting is the only Qt call made there.
          QMetaObject::invokeMethod(
              &m_widget, [this] { flushRedisplays(); }, Qt::QueuedConnection);
      }),
      m_view(std::make_unique<MyView>(*this, m_threads))
{
    m_view->window = this;
}

ExplorerPlatform::~ExplorerPlatform()
{
    // The explorer must outlive every worker that can still reach it.
    while (!stopWorkers(1000)) {
    }
}

bool ExplorerPlatform::stopWorkers(int timeoutMs)
{
    m_view->cancelPass();
    m_pending.close();
    m_threads.interruptSleeps();
    return m_threads.waitUntilIdle(timeoutMs);
}

void ExplorerPlatform::resized()
{
    // Drawn at once, as the window system the explorer expects does: a start
    // that came before the drawing would find the size changed under it.
    if (!m_launched)
        return;
    drawViewRect(bounds());
    m_widget.update(m_widget.toLogical(std::exchange(m_dirty, QRect())));
}

NSRect ExplorerPlatform::bounds() const
{
    const QSize size = m_widget.deviceSize();
    return {{0, 0}, {float(size.width()), float(size.height())}};
}

QRect ExplorerPlatform::toSurfaceRect(NSRect rect) const
{
    const QSize size = m_widget.deviceSize();
    return toQtRect(rect, float(size.height())).normalized().toAlignedRect() & QRect({}, size);
}

void ExplorerPlatform::drawViewRect(NSRect rect)
{
    if (m_drawing) {
        // A drawing that starts a pass redisplays the view from inside
        // itself, while its own painter is still open on the surface.
        const QRect area = toSurfaceRect(rect);
        m_dirty |= area;
        QPainter &painter = m_drawing->painter();
        painter.save();
        painter.setClipRect(area);
        m_view->drawRect(rect);
        painter.restore();
        return;
    }
    QImage &surface = m_widget.surfaceForDrawing();
    const QRect area = toSurfaceRect(rect);
    m_dirty |= area;
    SurfaceContext context(surface);
    // The explorer draws its whole image every time; only the area asked for changes.
    context.painter().setClipRect(area);
    m_drawing = &context;
    m_view->drawRect(rect);
    m_drawing = nullptr;
}

void ExplorerPlatform::displayRect(NSRect rect)
{
    drawViewRect(rect);
    if (m_drawing)
        return; // the outermost drawing shows everything at its end
    const QRect dirty = m_widget.toLogical(std::exchange(m_dirty, QRect()));
    if (m_widget.isVisible() && !dirty.isEmpty())
        m_widget.repaint(dirty);
}

void ExplorerPlatform::setNeedsDisplayInRect(NSRect rect)
{
    m_pending.add(rect);
}

void ExplorerPlatform::setNeedsDisplay(bool flag)
{
    if (flag)
        m_pending.addWholeView();
}

void ExplorerPlatform::flushRedisplays()
{
    // At most one redisplay a frame, as a display cycle would: each one holds
    // the view's lock for its blit, and the workers wait for that lock.
    constexpr qint64 kFrameMs = 16;
    const qint64 early = m_sinceFlush.isValid() ? kFrameMs - m_sinceFlush.elapsed() : 0;
    if (early > 0) {
        QTimer::singleShot(early, &m_widget, [this] { flushRedisplays(); });
        return;
    }
    m_sinceFlush.start();
    const std::optional<NSRect> rect = m_pending.take(bounds());
    if (!rect)
        return;
    drawViewRect(*rect);
    m_widget.update(m_widget.toLogical(std::exchange(m_dirty, QRect())));
}

void ExplorerPlatform::lockFocus()
{
    if (m_focusDepth++ > 0)
        return;
    m_focus = std::make_unique<SurfaceContext>(m_widget.surfaceForDrawing());
}

void ExplorerPlatform::unlockFocus()
{
    if (m_focusDepth == 0 || --m_focusDepth > 0)
        return;
    const bool show = m_focus->flushRequested();
    m_focus.reset();
    if (show && m_widget.isVisible())
        m_widget.repaint();
}

GraphicsContext &ExplorerPlatform::currentContext()
{
    if (m_drawing)
        return *m_drawing;
    if (m_focus)
        return *m_focus;
    static NullGraphicsContext none;
    return none;
}

RGBAColor ExplorerPlatform::selectedTextBackgroundColor() const
{
    const QColor color = m_widget.palette().color(QPalette::Highlight);
    return {color.redF(), color.greenF(), color.blueF(), color.alphaF()};
}

void ExplorerPlatform::makeKeyAndOrderFront()
{
    QWidget *top = m_widget.window();
    top->show();
    top->raise();
    top->activateWindow();
    m_launched = true;
    // The explorer relies on having been drawn once when this returns,
    // before the window system has even exposed the window.
    displayRect(bounds());
}

void ExplorerPlatform::setInitialFirstResponder(MyView &)
{
    m_widget.setFocus(Qt::ActiveWindowFocusReason);
}

} // namespace dwell
