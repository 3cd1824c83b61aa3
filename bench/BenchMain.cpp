#include "KernelBench.h"
#include "RatioReporter.h"
#include "RenderPassBench.h"

int main(int argc, char **argv)
{
    registerKernelBenchmarks();
    registerRenderPassBenchmarks();
    return RatioReporter::runBenchmarks(argc, argv);
}
