#pragma once

#include "PopUpMenu.h"
#include "Slider.h"
#include "Switch.h"

#include <string>

namespace dwell {

// Controls that only hold a value: for running the explorer without a window.
class StaticMenu : public PopUpMenu {
public:
    explicit StaticMenu(std::string title = {}) : title(std::move(title)) {}
    std::string titleOfSelectedItem() const override { return title; }
    std::string title;
};

class StaticSwitch : public Switch {
public:
    int state() const override { return value; }
    int value = 0;
};

class StaticSlider : public Slider {
public:
    float floatValue() const override { return value; }
    float value = 4.0f;
};

} // namespace dwell
