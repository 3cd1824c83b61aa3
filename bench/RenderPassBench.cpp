#include "RenderPassBench.h"

#include "KernelPaths.h"
#include "PassMeasures.h"
#include "TestExplorer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// The explorer's first pass, 1024 x 768 at limit 1000, started again on
// each iteration: workers, schedule, lock and pixel writes included.
void renderPass(benchmark::State &state, int threads)
{
    TestExplorer explorer(1024, 768, std::to_string(threads) + " threads", "1000 iterations");
    explorer.launch();
    if (!explorer.finishPass()) {
        state.SkipWithError("the first pass did not end");
        return;
    }
    long long iterations = 0;
    Clock::duration passes = Clock::duration::zero();
    const int startedBefore = explorer.threads.started;
    for (auto _ : state) {
        const auto start = Clock::now();
        explorer.view.startButton(nullptr);
        if (!explorer.waitForWorkers()) {
            state.SkipWithError("a pass did not end");
            return;
        }
        passes += Clock::now() - start;
        iterations += explorer.view.passStatus().iterations;
        state.PauseTiming();
        explorer.display.runPendingDisplays(true);
        explorer.display.forgetRequests();
        state.ResumeTiming();
    }
    state.counters["pixel_iters"] =
        benchmark::Counter(double(iterations), benchmark::Counter::kIsRate);
    state.SetLabel(kernelPathName(activeKernelPath()));
    state.counters["threads_per_pass"] =
        double(explorer.threads.started - startedBefore) / double(state.iterations());
    const double passSeconds =
        std::chrono::duration<double>(passes).count() / double(state.iterations());
    reportOverhead(state, explorer.view, threads, passSeconds);
}

} // namespace

void registerRenderPassBenchmarks()
{
    registerByThreadCount("pass/default", renderPass);
}
