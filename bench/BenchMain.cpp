#include "KernelBench.h"
#include "RatioReporter.h"
#include "RenderPassBench.h"

int main(int argc, char **argv)
{
    dwell::registerKernelBenchmarks();
    dwell::registerRenderPassBenchmarks();
    return dwell::RatioReporter::runBenchmarks(argc, argv);
}
