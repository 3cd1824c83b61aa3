#include "QtInput.h"

#include <QTest>
#include <QWidget>
#include <QWindow>

namespace dwell {

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
