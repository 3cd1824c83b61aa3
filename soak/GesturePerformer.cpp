#include "GesturePerformer.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace dwell {

using namespace std::chrono_literals;

namespace {

// Longer than the animation of a press, which Qt keeps to 100 ms.
constexpr auto kAnimatedClick = 250ms;

} // namespace

std::string GesturePerformer::moveTo(int x, int y) const
{
    return m_app.moveCommand(x, y);
}

std::string GesturePerformer::clickAt(ControlLayout::Point at) const
{
    return moveTo(at.x, at.y) + "click 1 ";
}

std::string GesturePerformer::turnWheel(ControlLayout::Point at, int notches) const
{
    // Buttons 4 and 5 are the wheel turned away from and towards the user.
    const char *direction = notches > 0 ? "5" : "4";
    return moveTo(at.x, at.y) + "click --repeat " + std::to_string(std::abs(notches)) +
           " --delay 20 " + direction + " ";
}

std::string GesturePerformer::resizeTo(int width, int height) const
{
    // Without a window manager the server takes the size as asked; waiting
    // for it keeps the release after the resize.
    return "windowsize --sync " + m_app.window() + " " + std::to_string(width + m_margins.right) +
           " " + std::to_string(height + m_margins.bottom) + " ";
}

void GesturePerformer::click(ControlLayout::Point at) const
{
    m_app.xdotool(clickAt(at));
}

void GesturePerformer::wheel(ControlLayout::Point at, int notches) const
{
    m_app.xdotool(turnWheel(at, notches));
}

void GesturePerformer::button(ControlLayout::Point at, const char *key, bool byKey) const
{
    if (!byKey)
        return click(at);
    m_app.xdotool(std::string("key ") + key);
    // A mnemonic animates the press and clicks a moment later: wait for the
    // click, so that the next gesture comes after it.
    std::this_thread::sleep_for(kAnimatedClick);
}

void GesturePerformer::drag(const Gesture &gesture, const std::string &beforeRelease) const
{
    std::string command = moveTo(gesture.x, gesture.y) + "mousedown 1 ";
    for (const auto &[x, y] : gesture.path)
        command += moveTo(x, y);
    m_app.xdotool(command + beforeRelease + "mouseup 1");
}

void GesturePerformer::perform(const Gesture &gesture) const
{
    using Kind = Gesture::Kind;
    const ControlLayout &at = m_layout;
    switch (gesture.kind) {
    case Kind::Click:
        return click({gesture.x, gesture.y});
    case Kind::Drag:
        return drag(gesture, "");
    case Kind::ZoomOut:
        return click(at.zoomOut);
    case Kind::Back:
        return click(at.back);
    case Kind::Reset:
        return button(at.reset, "alt+v", gesture.byKey);
    case Kind::Start:
        return button(at.start, "alt+s", gesture.byKey);
    case Kind::ResetOrigin:
        return button(at.resetOrigin, "alt+o", gesture.byKey);
    case Kind::Report:
        return button(at.report, "alt+r", gesture.byKey);
    case Kind::Key:
        return m_app.xdotool("key " + gesture.key);
    case Kind::DwellWheel:
        return wheel(at.dwellMenu, gesture.notches);
    case Kind::ThreadWheel:
        return wheel(at.threadMenu, gesture.notches);
    case Kind::RadiusWheel:
        return wheel(at.slider, gesture.notches);
    case Kind::ToggleOrigin:
        return click(at.originSwitch);
    case Kind::ToggleRandom:
        return click(at.randomSwitch);
    case Kind::ToggleClear:
        return click(at.clearSwitch);
    case Kind::StartAndDwellWheel:
        // One command, so that the wheel follows the click within milliseconds.
        return m_app.xdotool(clickAt(at.start) + turnWheel(at.dwellMenu, gesture.notches));
    case Kind::Resize:
        return m_app.xdotool(resizeTo(gesture.width, gesture.height));
    case Kind::ResizeWhilePressed:
        return drag(gesture, resizeTo(gesture.width, gesture.height));
    }
}

} // namespace dwell
