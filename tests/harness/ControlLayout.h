#pragma once

#include "Screenshot.h"

#include <optional>

namespace dwell {

// Where the controls right of the view are, found in a screenshot of the launched window
// so that fonts and style may differ between machines. Points are relative to the window.
struct ControlLayout {
    struct Point {
        int x, y;
    };

    Point threadMenu, dwellMenu;
    Point randomSwitch, originSwitch, clearSwitch, slider;
    Point start, reset, resetOrigin, report, zoomOut, back;

    // None unless the column shows the framed controls the form lays out:
    // two menus, three switches and seven buttons, top to bottom.
    static std::optional<ControlLayout> locate(const Screenshot &shot, int viewWidth);
};

} // namespace dwell
