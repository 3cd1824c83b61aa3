#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>

namespace dwell {

// The console output, then each kernel path's throughput as a multiple of
// the scalar path's on the same scene, and each pass's as a multiple of the
// one-thread pass's, measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that saved runs stay plain text.
    RatioReporter();
    // Benchmarks named "<group>/<scene>/<path>" take part in the ratios.
    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

    // Runs the registered benchmarks as the command line selects, reporting
    // with ratios. The exit status for main.
    static int runBenchmarks(int &argc, char **argv);

private:
    // (scene, path) -> pixel iterations per second
    std::map<std::pair<std::string, std::string>, double> m_rates;
};

} // namespace dwell
