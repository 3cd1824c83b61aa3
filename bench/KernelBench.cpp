#include "KernelBench.h"

#include "KernelPaths.h"
#include "Scenes.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace dwell {

namespace {

// One whole picture per iteration, on one thread. The dwell sum counts the
// iterations done, so the rate is pixel iterations per second.
void renderScene(benchmark::State &state, KernelPath path, const KernelScene &scene)
{
    std::vector<int> buf(std::size_t(scene.width));
    long long iterations = 0;
    for (auto _ : state) {
        for (int r = 0; r < scene.height; ++r) {
            const int sum =
                mandelLineWith(path, 0.0, 0.0, 4.0, scene.x, scene.yTop - scene.step * r,
                               scene.step, scene.maxdwell, scene.width, buf.data());
            iterations += unsigned(sum);
        }
        benchmark::DoNotOptimize(buf.data());
    }
    state.counters["pixel_iters"] =
        benchmark::Counter(double(iterations), benchmark::Counter::kIsRate);
}

} // namespace

void registerKernelBenchmarks()
{
    for (const KernelScene *scene : kKernelScenes)
        for (const KernelPath path : kAllKernelPaths) {
            if (!isAvailable(path))
                continue;
            const std::string name =
                std::string("kernel/") + scene->name + "/" + kernelPathName(path);
            // Rates per CPU second: one thread, and the machine may be shared.
            benchmark::RegisterBenchmark(name.c_str(), renderScene, path, *scene)
                ->Unit(benchmark::kMillisecond);
        }
}

} // namespace dwell
