#pragma once

#include <string>
#include <utility>
#include <vector>

namespace dwell {

// One thing the soak does to the window. Points are Qt pixels of the view.
struct Gesture {
    enum class Kind {
        Click,
        Drag,
        ZoomOut,
        Back,
        Reset,
        Start,
        ResetOrigin,
        Report,
        Key,
        DwellWheel,
        ThreadWheel,
        RadiusWheel,
        ToggleOrigin,
        ToggleRandom,
        ToggleClear,
        // Start, then at once the dwell menu's wheel, so that the new limit
        // reaches the pass while it runs.
        StartAndDwellWheel,
        Resize,
        // A press on the view, its moves if any, a resize, and the release.
        ResizeWhilePressed,
    };

    Kind kind;
    // Where a click or a drag presses.
    int x = 0;
    int y = 0;
    // The pointer's moves after a drag's press; it is released at the last.
    std::vector<std::pair<int, int>> path{};
    // Wheel notches; positive turns towards the user.
    int notches = 0;
    // Buttons with a mnemonic may be pressed by key instead of clicked.
    bool byKey = false;
    // The key a Key gesture presses, in xdotool's names.
    std::string key{};
    // The view's size that a resize asks for; once performed, the size the
    // view took.
    int width = 0;
    int height = 0;

    bool resizes() const { return kind == Kind::Resize || kind == Kind::ResizeWhilePressed; }
    std::string describe() const;
};

} // namespace dwell
