#pragma once

#include "AppUnderTest.h"
#include "ControlLayout.h"
#include "ExplorerModel.h"
#include "GestureSource.h"
#include "SoakOptions.h"
#include "XvfbServer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

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

    bool launch();
    bool step(int number);
    bool settled(int number);
    bool closed();
    bool fail(const std::string &what);

    const SoakOptions m_options;
    const std::string m_binary;
    XvfbServer m_xvfb;
    std::unique_ptr<AppUnderTest> m_app;
    std::optional<ControlLayout> m_layout;
    ExplorerModel m_model;
    GestureSource m_source;
    int m_keys = 0;
    int m_gestures = 0;
};
