#include "RenderPassBench.h"

#include "KernelPaths.h"
#include "PassMeasures.h"
#include "TestExplorer.h"

#include <benchmark/benchmark.h>

#include <string>

namespace dwell {

namespace {

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
    PassMeter meter(explorer.view, threads);
    const int startedBefore = explorer.threads.started;
    for (auto _ : state) {
        explorer.view.startButton(nullptr);
        if (!explorer.waitForWorkers()) {
            state.SkipWithError("a pass did not end");
            return;
        }
        meter.passEnded(state);
        explorer.display.runPendingDisplays(true);
        explorer.display.forgetRequests();
    }
    meter.report(state);
    state.SetLabel(kernelPathName(activeKernelPath()));
    state.counters["threads_per_pass"] =
        double(explorer.threads.started - startedBefore) / double(state.iterations());
}

} // namespace

void registerRenderPassBenchmarks()
{
    registerByThreadCount("pass/default", renderPass);
}

} // namespace dwell
