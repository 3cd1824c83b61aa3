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

namespace dwell {

namespace {

using Clock = std::chrono::steady_clock;

// The sum of the kernel's times over the view's lines, divided by the threads.
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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

void registerByThreadCount(const std::string &prefix, void (*pass)(benchmark::State &, int))
{
    const int cores = int(std::thread::hardware_concurrency());
    for (const int threads : std::set<int>{1, 2, cores > 0 ? cores : 1}) {
        const std::string name = prefix + "/" + std::to_string(threads) + "_threads";
        benchmark::RegisterBenchmark(name.c_str(), pass, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime();
    }
}

void PassMeter::passEnded(benchmark::State &state)
{
    const PassStatus status = m_view.passStatus();
    state.SetIterationTime(status.seconds);
    m_passSeconds.push_back(status.seconds);
    m_iterations += status.iterations;
    m_kernelSeconds.push_back(kernelShareSeconds(m_view, m_threads));
}

void PassMeter::report(benchmark::State &state) const
{
    if (m_passSeconds.empty())
        return;
    // Medians: a pass or a share that a busy host slowed down is dropped.
    const double pass = median(m_passSeconds);
    const double kernel = median(m_kernelSeconds);
    const double iterationsPerPass = double(m_iterations) / double(m_passSeconds.size());
    state.counters["pixel_iters"] = benchmark::Counter(iterationsPerPass / pass);
    state.counters["kernel_ms"] = kernel * 1e3;
    state.counters["overhead_pct"] = (pass / kernel - 1) * 100;
    state.counters["outside_us_per_line"] = (pass - kernel) * m_threads / m_view.height * 1e6;
}

} // namespace dwell
