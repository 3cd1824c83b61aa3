#pragma once

namespace dwell {

class PopUpMenu;
class Slider;
class Switch;

// The controls a window gives the explorer view; not owned by the view.
struct ExplorerOutlets {
    PopUpMenu *threadMenu = nullptr;
    PopUpMenu *dwellMenu = nullptr;
    Switch *randomizerSwitch = nullptr;
    Switch *originSwitch = nullptr;
    Switch *clearSwitch = nullptr;
    Slider *escapeRadiusSlider = nullptr;
};

} // namespace dwell
