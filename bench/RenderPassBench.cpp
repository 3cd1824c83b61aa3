#include "RenderPassBench.h"

#include "KernelPaths.h"
#include "PassMeasures.h"
#include "TestExplorer.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace dwell {

namespace {

// The explorer's first pass, 1024 x 768 at limit 1000, started again on
// each iteration: workers, schedule, lock and pixel writes included.
// A smooth gradient along the continuous dwell, against the digits.
Coloring smoothColoring()
{
    std::string error;
    Coloring coloring;
    coloring.palette = std::make_shared<const Palette>(
        *Palette::parse("0 #440154\n0.25 #21918c\n0.5 #fde725\n0.75 #21918c\n", &error));
    coloring.name = "smooth";
    return coloring;
}

void renderPass(benchmark::State &state, int threads, const Coloring &coloring)
{
    TestExplorer explorer(1024, 768, std::to_string(threads) + " threads", "1000 iterations");
    // A real display draws the start's redisplay too, but not by copying the whole image.
    explorer.display.keepsShownPixels = false;
    explorer.view.coloring = coloring;
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

void digitsPass(benchmark::State &state, int threads)
{
    renderPass(state, threads, Coloring{});
}

void smoothPass(benchmark::State &state, int threads)
{
    renderPass(state, threads, smoothColoring());
}

// Recolouring a 1920 x 1080 picture from its kept values, as the window does.
void recolor(benchmark::State &state)
{
    constexpr int kWidth = 1920;
    constexpr int kHeight = 1080;
    std::mt19937 rng(5);
    std::vector<int> dwells(std::size_t(kWidth) * kHeight);
    std::vector<float> norms(dwells.size());
    for (std::size_t i = 0; i < dwells.size(); ++i) {
        dwells[i] = int(rng() % 2000) - 1;
        norms[i] = 4.0f + float(rng() % 10000);
    }
    std::vector<std::uint8_t> pixels(3 * dwells.size());
    const Coloring coloring = smoothColoring();
    for (auto _ : state) {
        for (int line = 0; line < kHeight; ++line) {
            const std::size_t at = std::size_t(line) * kWidth;
            colorLine(coloring, dwells.data() + at, norms.data() + at, kWidth, 4.0f,
                      pixels.data() + 3 * at);
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}

} // namespace

void registerRenderPassBenchmarks()
{
    registerByThreadCount("pass/default", digitsPass);
    registerByThreadCount("pass/smooth", smoothPass);
    benchmark::RegisterBenchmark("color/recolor-1920x1080", recolor)->Unit(benchmark::kMillisecond);
}

} // namespace dwell
