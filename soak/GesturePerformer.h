#pragma once

#include "AppUnderTest.h"
#include "ControlLayout.h"
#include "Gesture.h"

#include <string>

namespace dwell {

// How much larger the window is than the view: the controls' column to its
// right and the status line under it.
struct ViewMargins {
    int right = 0;
    int bottom = 0;
};

// Turns gestures into xdotool commands on the window.
class GesturePerformer {
public:
    GesturePerformer(const AppUnderTest &app, const ControlLayout &layout, ViewMargins margins)
        : m_app(app), m_layout(layout), m_margins(margins)
    {
    }

    void perform(const Gesture &gesture) const;

private:
    std::string moveTo(int x, int y) const;
    std::string clickAt(ControlLayout::Point at) const;
    std::string turnWheel(ControlLayout::Point at, int notches) const;
    std::string resizeTo(int width, int height) const;
    void click(ControlLayout::Point at) const;
    void wheel(ControlLayout::Point at, int notches) const;
    void button(ControlLayout::Point at, const char *key, bool byKey) const;
    void drag(const Gesture &gesture, const std::string &beforeRelease) const;

    const AppUnderTest &m_app;
    const ControlLayout &m_layout;
    const ViewMargins m_margins;
};

} // namespace dwell
