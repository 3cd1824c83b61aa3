#include "KernelBench.h"

#include "KernelPaths.h"
#include "Scenes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
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

// The same picture in blocks of sixteen lines whose pixels share the
// lanes, as batch renders compute it.
void renderSceneInBlocks(benchmark::State &state, KernelPath path, const KernelScene &scene)
{
    constexpr int kBlock = 16;
    std::vector<int> buf(std::size_t(scene.width) * kBlock);
    long long iterations = 0;
    for (auto _ : state) {
        for (int r = 0; r < scene.height; r += kBlock) {
            const int lines = std::min(kBlock, scene.height - r);
            double ys[kBlock];
            int sums[kBlock];
            for (int k = 0; k < lines; ++k)
                ys[k] = scene.yTop - scene.step * (r + k);
            mandelLinesWith(path, 0.0, 0.0, 4.0, scene.x, ys, lines, scene.step, scene.maxdwell,
                            scene.width, buf.data(), nullptr, sums);
            for (int k = 0; k < lines; ++k)
                iterations += unsigned(sums[k]);
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
            if (path != KernelPath::Scalar)
                benchmark::RegisterBenchmark((name + "-blocks").c_str(), renderSceneInBlocks, path,
                                             *scene)
                    ->Unit(benchmark::kMillisecond);
        }
}

} // namespace dwell
