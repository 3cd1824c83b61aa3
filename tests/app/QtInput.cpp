#include "QtInput.h"

#include "ExplorerPlatform.h"
#include "ExplorerWidget.h"
#include "KernelOracle.h"
#include "MyView.h"

#include <QImage>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <mutex>

namespace dwell {

bool waitForPass(ExplorerWidget &explorer)
{
    MyView &view = explorer.view();
    const bool stored = QTest::qWaitFor([&view] {
        std::lock_guard lock(view.workLock);
        return view.comp_sequence > 0 && view.lastLine >= view.height + view.num_threads;
    });
    const bool ended = explorer.platform().waitForWorkers(10000);
    QTest::qWait(50);
    return stored && ended;
}

int wrongRows(const QImage &surface, const Scene &scene)
{
    const int w = surface.width();
    const QImage rgb = surface.convertToFormat(QImage::Format_RGB888);
    const std::vector<std::uint8_t> expected = kernelPixels(scene, w, surface.height());
    int wrong = 0;
    for (int line = 0; line < surface.height(); ++line) {
        const auto row = expected.begin() + std::ptrdiff_t(3) * w * line;
        wrong += !std::equal(row, row + 3 * w, rgb.constScanLine(line));
    }
    return wrong;
}

namespace input {

namespace {

QWindow *windowOf(QWidget *widget)
{
    return widget->window()->windowHandle();
}

QPoint inWindow(QWidget *widget, QPoint position)
{
    return widget->mapTo(widget->window(), position);
}

} // namespace

bool waitForActive(QWidget *widget)
{
    return QTest::qWaitForWindowActive(widget);
}

void press(QWidget *widget, QPoint position, Qt::MouseButton button)
{
    QTest::mousePress(windowOf(widget), button, {}, inWindow(widget, position));
}

void move(QWidget *widget, QPoint position)
{
    QTest::mouseMove(windowOf(widget), inWindow(widget, position));
}

void release(QWidget *widget, QPoint position, Qt::MouseButton button)
{
    QTest::mouseRelease(windowOf(widget), button, {}, inWindow(widget, position));
}

void click(QWidget *widget, QPoint position)
{
    press(widget, position);
    release(widget, position);
}

void key(QWidget *window, Qt::Key key, bool autoRepeat)
{
    // QTest's own key clicks cannot repeat; this is their path with the flag.
    QWindow *target = windowOf(window);
    if (!qt_sendShortcutOverrideEvent(target, 0, key, Qt::NoModifier, QString(), autoRepeat))
        qt_handleKeyEvent(target, QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
    if (!autoRepeat)
        qt_handleKeyEvent(target, QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::processEvents();
}

} // namespace input

} // namespace dwell
