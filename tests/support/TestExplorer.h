#pragma once

#include "FakeDisplay.h"
#include "KernelOracle.h"
#include "MyView.h"
#include "StaticControls.h"
#include "TestThreads.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dwell {

// One explorer wired to the fake layer and fake controls, as the interface
// file would connect it. Waits for every worker before it goes away.
class TestExplorer {
public:
    TestExplorer(float width = 400, float height = 300, std::string threadTitle = "2 threads",
                 std::string dwellTitle = "200 iterations");
    ~TestExplorer();
    TestExplorer(const TestExplorer &) = delete;
    TestExplorer &operator=(const TestExplorer &) = delete;

    void launch() { view.applicationDidFinishLaunching(); }
    // True once every worker started so far has ended.
    bool waitForWorkers(int timeoutMs = 120000) { return threads.waitUntilIdle(timeoutMs); }
    // Lets the running pass end, then draws what it asked for.
    bool finishPass();
    // What the kernel makes of the view's scene on its frame.
    std::vector<std::uint8_t> expectedPicture() const;
    long long expectedTotal() const;
    std::vector<std::uint8_t> picture() const;

    FakeDisplay display;
    TestThreads threads;
    StaticMenu threadMenu;
    StaticMenu dwellMenu;
    StaticSwitch randomizerSwitch;
    StaticSwitch originSwitch;
    StaticSwitch clearSwitch;
    StaticSlider escapeRadiusSlider;
    MyView view;
};

} // namespace dwell
