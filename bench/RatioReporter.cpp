#include "RatioReporter.h"

#include <iomanip>
#include <ostream>

#include <unistd.h>

namespace dwell {

RatioReporter::RatioReporter()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OutputOptions(OO_Tabular | OO_Color) : OO_Tabular)
{
}

int RatioReporter::runBenchmarks(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        const auto counter = run.counters.find("pixel_iters");
        if (run.run_type != Run::RT_Iteration || run.error_occurred ||
            counter == run.counters.end())
            continue;
        const std::string name = run.run_name.function_name;
        const auto first = name.find('/');
        const auto last = name.rfind('/');
        if (first == std::string::npos || first == last)
            continue;
        m_rates[{name.substr(0, last), name.substr(last + 1)}] = counter->second.value;
    }
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    std::ostream &out = GetOutputStream();
    out << "\nThroughput, pixel iterations per second, and multiple of the scalar path"
           " (kernels) or of one thread (passes)\n";
    for (const auto &[key, rate] : m_rates) {
        const bool pass = key.second.ends_with("_threads");
        const auto scalar = m_rates.find({key.first, pass ? "1_threads" : "scalar"});
        out << std::left << std::setw(20) << key.first << std::setw(10) << key.second << std::right
            << std::fixed << std::setprecision(3) << std::setw(8) << rate / 1e9 << " G/s";
        if (scalar != m_rates.end())
            out << std::setprecision(2) << std::setw(8) << rate / scalar->second << "x";
        out << "\n";
    }
}

} // namespace dwell
