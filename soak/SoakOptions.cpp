#include "SoakOptions.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace dwell {

namespace {

std::optional<unsigned long> number(const char *text)
{
    char *end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (!*text || *end || text[0] == '-')
        return std::nullopt;
    return value;
}

} // namespace

std::optional<SoakOptions> SoakOptions::parse(int argc, char **argv)
{
    SoakOptions options;
    options.seed = std::uint32_t(std::chrono::system_clock::now().time_since_epoch().count());
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        const auto value = i + 1 < argc ? number(argv[i + 1]) : std::nullopt;
        if ((name != "--seconds" && name != "--seed") || !value) {
            std::fprintf(stderr, "usage: %s [--seconds N] [--seed S]\n", argv[0]);
            return std::nullopt;
        }
        if (name == "--seconds")
            options.seconds = int(*value);
        else
            options.seed = std::uint32_t(*value);
        ++i;
    }
    return options;
}

} // namespace dwell
