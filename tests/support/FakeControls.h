#pragma once

#include "PopUpMenu.h"
#include "Slider.h"
#include "Switch.h"

#include <atomic>
#include <string>

class FakeMenu : public PopUpMenu {
public:
    explicit FakeMenu(std::string title = {}) : title(std::move(title)) {}
    std::string titleOfSelectedItem() const override { return title; }
    std::string title;
};

class FakeSwitch : public Switch {
public:
    int state() const override { return value; }
    int value = 0;
};

class FakeSlider : public Slider {
public:
    float floatValue() const override { return value; }
    float value = 4.0f;
};
