#pragma once

#include <Qt>

class QImage;
class QPoint;
class QWidget;

namespace dwell {

class ExplorerWidget;
struct Scene;

// Waits for the explorer's pass to be stored, for its workers to end and for
// their last redisplays to reach the surface.
bool waitForPass(ExplorerWidget &explorer);
// Rows of the surface that differ anywhere from the kernel's picture of the scene.
int wrongRows(const QImage &surface, const Scene &scene);

// Input through the window system interface, as the platform would deliver
// it: to the window, which hands it on, so activation and focus take part.
namespace input {

bool waitForActive(QWidget *widget);
void press(QWidget *widget, QPoint position, Qt::MouseButton button = Qt::LeftButton);
void move(QWidget *widget, QPoint position);
void release(QWidget *widget, QPoint position, Qt::MouseButton button = Qt::LeftButton);
void click(QWidget *widget, QPoint position);
// A key press (optionally an automatic repetition) and, unless repeating,
// its release; sent to the window, which hands it to the focus widget.
void key(QWidget *window, Qt::Key key, bool autoRepeat = false);

} // namespace input

} // namespace dwell
