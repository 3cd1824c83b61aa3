#include "KernelBench.h"
#include "RatioReporter.h"
#include "RenderPassBench.h"

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    registerKernelBenchmarks();
    registerRenderPassBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
