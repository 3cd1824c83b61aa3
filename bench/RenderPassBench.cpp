#include "RenderPassBench.h"

#include "KernelPaths.h"
#include "TestExplorer.h"
#include "mandel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// What the pass would cost if nothing but the kernel ran: its lines shared
// among as many plain threads, each timing its own kernel calls. Returns the
// sum of those times divided by the thread count.
double kernelShareSeconds(MyView &view, int threads)
{
    const int w = int(view.frame.size.width);
    const int h = view.height;
    std::atomic<int> nextLine{0};
    std::vector<Clock::duration> spent(std::size_t(threads), Clock::duration::zero());
    const auto work = [&](Clock::duration &total) {
        std::array<int, MyView::kTableSize> buf;
        for (int r = nextLine++; r < h; r = nextLine++) {
            const auto start = Clock::now();
            benchmark::DoNotOptimize(mandelLine(view.originX, view.originY, view.escapeRadius,
                                                view.viewX, view.viewY - view.viewStep * r,
                                                view.viewStep, view.max_dwells, w, buf.data()));
            total += Clock::now() - start;
        }
    };
    std::vector<std::thread> workers;
    for (auto &total : spent)
        workers.emplace_back(work, std::ref(total));
    Clock::duration sum = Clock::duration::zero();
    for (std::size_t i = 0; i < workers.size(); ++i) {
        workers[i].join();
        sum += spent[i];
    }
    return std::chrono::duration<double>(sum).count() / threads;
}

// The pass's wall time beyond the kernel's share, in per cent, and the time
// each line spends outside the kernel (schedule, lock, pixel writes, redisplay
// requests), summed over the threads.
void reportOverhead(benchmark::State &state, MyView &view, int threads, double passSeconds)
{
    // The median of a few runs, as the pass time is an average over many.
    std::array<double, 5> shares;
    for (double &share : shares)
        share = kernelShareSeconds(view, threads);
    std::sort(shares.begin(), shares.end());
    const double kernel = shares[shares.size() / 2];
    state.counters["kernel_ms"] = kernel * 1e3;
    state.counters["overhead_pct"] = (passSeconds / kernel - 1) * 100;
    state.counters["outside_us_per_line"] = (passSeconds - kernel) * threads / view.height * 1e6;
}

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
    const int cores = int(std::thread::hardware_concurrency());
    for (const int threads : std::set<int>{1, 2, cores > 0 ? cores : 1}) {
        const std::string name = "pass/default/" + std::to_string(threads) + "_threads";
        benchmark::RegisterBenchmark(name.c_str(), renderPass, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}
