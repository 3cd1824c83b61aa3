#include "Gesture.h"

namespace dwell {

namespace {

std::string point(int x, int y)
{
    return std::to_string(x) + "," + std::to_string(y);
}

std::string button(const char *name, const char *key, bool byKey)
{
    return byKey ? std::string(key) : std::string(name);
}

std::string wheel(const char *control, int notches)
{
    return std::string(control) + " wheel " + (notches > 0 ? "+" : "") + std::to_string(notches);
}

std::string pressAndMoves(const Gesture &gesture)
{
    std::string text = point(gesture.x, gesture.y);
    for (const auto &[x, y] : gesture.path)
        text += " > " + point(x, y);
    return text;
}

std::string resize(const Gesture &gesture)
{
    return "resize the view to " + std::to_string(gesture.width) + "x" +
           std::to_string(gesture.height);
}

} // namespace

std::string Gesture::describe() const
{
    switch (kind) {
    case Kind::Click:
        return "click " + point(x, y);
    case Kind::Drag:
        return "drag " + pressAndMoves(*this);
    case Kind::ZoomOut:
        return "Zoom out";
    case Kind::Back:
        return "Back";
    case Kind::Reset:
        return button("Reset view", "alt+v", byKey);
    case Kind::Start:
        return button("Start", "alt+s", byKey);
    case Kind::ResetOrigin:
        return button("Reset origin", "alt+o", byKey);
    case Kind::Report:
        return button("Report", "alt+r", byKey);
    case Kind::Key:
        return "key " + key;
    case Kind::DwellWheel:
        return wheel("dwell", notches);
    case Kind::ThreadWheel:
        return wheel("threads", notches);
    case Kind::RadiusWheel:
        return wheel("escape", notches);
    case Kind::ToggleOrigin:
        return "toggle Origin mode";
    case Kind::ToggleRandom:
        return "toggle Random line order";
    case Kind::ToggleClear:
        return "toggle Clear before render";
    case Kind::StartAndDwellWheel:
        return "Start, " + wheel("dwell", notches);
    case Kind::Resize:
        return resize(*this);
    case Kind::ResizeWhilePressed:
        return "press " + pressAndMoves(*this) + ", " + resize(*this) + ", release";
    }
    return "?";
}

} // namespace dwell
