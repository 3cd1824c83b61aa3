#pragma once

#include "DetachedThreads.h"
#include "FakeDisplay.h"
#include "KernelOracle.h"
#include "MyView.h"
#include "StaticControls.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace dwell {

// Real detached workers, but the one-second wait at a pass's end is instant; onSleep sees it.
class TestThreads : public DetachedThreads {
public:
    bool detachNewThread(std::function<void()> body) override
    {
        if (refuse)
            return false;
        ++started;
        return DetachedThreads::detachNewThread(std::move(body));
    }
    void sleep(unsigned seconds) override
    {
        if (onSleep)
            onSleep(seconds);
    }

    std::atomic<int> started{0};
    // Refuses every thread, as a system out of processes does.
    bool refuse = false;
    // Runs on the sleeping thread; set it before any worker starts.
    std::function<void(unsigned)> onSleep;
};

// One explorer wired to the fake display and controls; it waits for every worker before it goes.
class TestExplorer {
public:
    TestExplorer(float width = 400, float height = 300, std::string threadTitle = "2 threads",
                 std::string dwellTitle = "200 iterations")
        : threadMenu(std::move(threadTitle)), dwellMenu(std::move(dwellTitle)),
          view(display, threads)
    {
        display.setBounds({{0, 0}, {width, height}});
        display.attach(view);
        view.connectOutlets({&threadMenu, &dwellMenu, &randomizerSwitch, &originSwitch,
                             &clearSwitch, &escapeRadiusSlider});
    }
    // Workers hold a reference to the view: it must outlive them.
    ~TestExplorer()
    {
        if (!waitForWorkers())
            std::abort();
    }

    void launch() { view.applicationDidFinishLaunching(); }
    void click(NSPoint at)
    {
        view.mouseDown(at);
        view.mouseUp(at);
    }
    void drag(NSPoint from, NSPoint to)
    {
        view.mouseDown(from);
        view.mouseDragged(to);
        view.mouseUp(to);
    }
    // True once every worker started so far has ended.
    bool waitForWorkers() { return threads.waitUntilIdle(120000); }
    // Lets the running pass end, then draws what it asked for.
    bool finishPass()
    {
        const bool ended = waitForWorkers();
        display.runPendingDisplays();
        return ended;
    }
    std::vector<std::uint8_t> picture() const
    {
        return {view.myImage->bitmapData(), view.myImage->bitmapData() + view.myImage->byteCount()};
    }

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

// A launched explorer whose passes start no worker, so that only drawing happens.
struct IdleExplorer : TestExplorer {
    explicit IdleExplorer(float width = 400, float height = 300)
        : TestExplorer(width, height, "0 threads")
    {
        launch();
    }
};

} // namespace dwell
