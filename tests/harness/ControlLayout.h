#pragma once

#include "Screenshot.h"

#include <optional>

namespace dwell {

// Where the controls right of the view are, found in a screenshot of the
// window as launched, so that fonts and style may differ from machine to
// machine. Points are relative to the window.
struct ControlLayout {
    struct Point {
        int x;
        int y;
    };

    Point threadMenu;
    Point dwellMenu;
    Point randomSwitch;
    Point originSwitch;
    Point clearSwitch;
    Point slider;
    Point start;
    Point reset;
    Point resetOrigin;
    Point report;
    Point zoomOut;
    Point back;

    // None unless the column shows the framed controls the form lays out:
    // two menus, three switches and seven buttons, top to bottom.
    static std::optional<ControlLayout> locate(const Screenshot &shot, int viewWidth);
};

} // namespace dwell
