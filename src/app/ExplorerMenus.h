#pragma once

class QMenuBar;

namespace dwell {

class MainWindow;

// The File and View menus of the window, with Ctrl key equivalents, which
// take those keys before the view sees them.
void addExplorerMenus(QMenuBar &bar, MainWindow &window);

} // namespace dwell
