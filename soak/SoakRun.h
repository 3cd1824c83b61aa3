#pragma once

#include "AppUnderTest.h"
#include "ControlLayout.h"
#include "ExpectedView.h"
#include "ExplorerModel.h"
#include "GesturePerformer.h"
#include "GestureSource.h"
#include "SoakOptions.h"
#include "XvfbServer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dwell {

// Random bursts of gestures on the real window, each followed by a check
// that the view settles to the kernel's picture of what the model says it
// shows, until time is up or something goes wrong.
class SoakRun {
public:
    SoakRun(const SoakOptions &options, std::string binary);

    // The process's exit status: 0 when every check passed.
    int run();

private:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;
    // Larger views make each check's pictures slow to compute.
    static constexpr int kWidestView = 800;
    static constexpr int kTallestView = 600;

    bool launch();
    bool measureWindow();
    bool step(int number);
    bool perform(Gesture &gesture);
    void track(const Gesture &gesture);
    bool settled(int number);
    Screenshot waitForView(const std::vector<ExpectedView> &expected) const;
    bool closed();
    bool fail(const std::string &what);

    const SoakOptions m_options;
    const std::string m_binary;
    XvfbServer m_xvfb;
    std::unique_ptr<AppUnderTest> m_app;
    std::optional<ControlLayout> m_layout;
    ViewMargins m_margins;
    std::optional<GestureSource> m_source;
    // Every state the explorer may be in: more than one only after a resize
    // and a release that it may have taken in either order, until a picture
    // tells them apart.
    std::vector<ExplorerModel> m_models;
    int m_keys = 0;
    int m_gestures = 0;
};

} // namespace dwell
