#pragma once

#include "AppUnderTest.h"
#include "ControlLayout.h"
#include "Gesture.h"

#include <string>

// Turns gestures into xdotool commands on the window.
class GesturePerformer {
public:
    GesturePerformer(const AppUnderTest &app, const ControlLayout &layout)
        : m_app(app), m_layout(layout)
    {
    }

    void perform(const Gesture &gesture) const;

private:
    std::string moveTo(int x, int y) const;
    void click(ControlLayout::Point at) const;
    void button(ControlLayout::Point at, const char *key, bool byKey) const;
    void wheel(ControlLayout::Point at, int notches) const;
    void drag(const Gesture &gesture) const;

    const AppUnderTest &m_app;
    const ControlLayout &m_layout;
};
