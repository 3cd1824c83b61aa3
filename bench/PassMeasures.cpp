#include "PassMeasures.h"

#include "MyView.h"
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

double kernelShareOnce(MyView &view, int threads)
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

} // namespace

void registerByThreadCount(const std::string &prefix, void (*pass)(benchmark::State &, int))
{
    const int cores = int(std::thread::hardware_concurrency());
    for (const int threads : std::set<int>{1, 2, cores > 0 ? cores : 1}) {
        const std::string name = prefix + "/" + std::to_string(threads) + "_threads";
        benchmark::RegisterBenchmark(name.c_str(), pass, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

double kernelShareSeconds(MyView &view, int threads)
{
    // The median of a few runs, as the pass time is an average over many.
    std::array<double, 5> shares;
    for (double &share : shares)
        share = kernelShareOnce(view, threads);
    std::sort(shares.begin(), shares.end());
    return shares[shares.size() / 2];
}

void reportOverhead(benchmark::State &state, MyView &view, int threads, double passSeconds)
{
    const double kernel = kernelShareSeconds(view, threads);
    state.counters["kernel_ms"] = kernel * 1e3;
    state.counters["overhead_pct"] = (passSeconds / kernel - 1) * 100;
    state.counters["outside_us_per_line"] = (passSeconds - kernel) * threads / view.height * 1e6;
}
