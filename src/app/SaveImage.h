#pragma once

class QWidget;

namespace dwell {

class MyView;

// Asks where to, then writes the current picture as PNG with the scene it shows.
void saveImage(QWidget &parent, MyView &view);

} // namespace dwell
