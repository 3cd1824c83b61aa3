#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dwell {

// The soak's command line: --seconds N (default 180) and --seed S (default
// from the clock, printed so that a run can be replayed).
struct SoakOptions {
    int seconds = 180;
    std::uint32_t seed = 0;

    // None, with a message on standard error, for a bad command line.
    static std::optional<SoakOptions> parse(int argc, char **argv);
};

} // namespace dwell
