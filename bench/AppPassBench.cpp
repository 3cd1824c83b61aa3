#include "AppPassBench.h"

#include "ExplorerPlatform.h"
#include "ExplorerWidget.h"
#include "MainWindow.h"
#include "MyView.h"
#include "PassMeasures.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <memory>
#include <string>

namespace dwell {

namespace {

using Clock = std::chrono::steady_clock;

// The window as the program opens it.
std::unique_ptr<MainWindow> openWindow(benchmark::State &state)
{
    auto window = std::make_unique<MainWindow>();
    window->explorer().launch();
    MyView &view = window->explorer().view();
    // The view gets its frame from its first drawing, in the event loop.
    for (auto deadline = Clock::now() + std::chrono::seconds(5);
         view.frame.size.width == 0 && Clock::now() < deadline;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (view.frame.size.width == 0) {
        state.SkipWithError("the window was never drawn");
        return nullptr;
    }
    state.SetLabel(std::to_string(int(view.frame.size.width)) + "x" + std::to_string(view.height) +
                   ", limit " + std::to_string(view.max_dwells));
    return window;
}

// Runs the GUI thread's event loop, redisplays included, until every line of
// the pass is stored. A short timer keeps the loop waking when nothing else
// does; the pass's own clock, not this loop, says how long it took.
void runPass(MyView &view)
{
    QTimer tick;
    tick.start(1);
    view.startButton(nullptr);
    while (!view.passStatus().finished())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void appPass(benchmark::State &state, int threads)
{
    const auto window = openWindow(state);
    if (!window)
        return;
    MyView &view = window->explorer().view();
    view.num_threads = threads;
    runPass(view);
    PassMeter meter(view, threads);
    for (auto _ : state) {
        runPass(view);
        meter.passEnded(state);
    }
    meter.report(state);
    window->explorer().stopWorkers(1000);
}

// One drawing of the view: the time it holds the view's lock, which is all of
// it but the repaint of the hidden widget, skipped here.
void drawing(benchmark::State &state, float rows)
{
    const auto window = openWindow(state);
    if (!window)
        return;
    ExplorerWidget &explorer = window->explorer();
    explorer.stopWorkers(1000);
    window->hide();
    const NSRect area{{0, 0}, {explorer.view().frame.size.width, rows}};
    for (auto _ : state)
        explorer.platform().displayRect(area);
}

} // namespace

void registerAppPassBenchmarks()
{
    registerByThreadCount("app_pass/opening", appPass);
    for (const float rows : {1.0f, 480.0f}) {
        const std::string name = "app_draw/" + std::to_string(int(rows)) + "_rows";
        benchmark::RegisterBenchmark(name.c_str(), drawing, rows)->Unit(benchmark::kMicrosecond);
    }
}

} // namespace dwell
