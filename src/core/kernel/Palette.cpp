#include "Palette.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace dwell {

namespace {

std::string trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    const std::size_t last = text.find_last_not_of(" \t\r");
    return first == std::string_view::npos ? std::string()
                                           : std::string(text.substr(first, last - first + 1));
}

// "0.25 #1a2b3c"
std::optional<Palette::Stop> stopOf(const std::string &line)
{
    double position = 0;
    unsigned r = 0, g = 0, b = 0;
    char end = 0;
    if (std::sscanf(line.c_str(), "%lf #%2x%2x%2x %c", &position, &r, &g, &b, &end) != 4 ||
        line.find('#') + 7 != line.size() || !(position >= 0.0 && position <= 1.0))
        return std::nullopt;
    return Palette::Stop{position, {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)}};
}

} // namespace

Palette::Palette(std::string name, std::vector<Stop> stops)
    : m_name(std::move(name)), m_stops(std::move(stops))
{
    // Wrapping: past the last stop the colour runs back to the first.
    for (int i = 0; i < kEntries; ++i) {
        const double t = (i + 0.5) / kEntries;
        std::size_t next = 0;
        while (next < m_stops.size() && m_stops[next].position <= t)
            ++next;
        const Stop &a = next == 0 ? m_stops.back() : m_stops[next - 1];
        const Stop &b = next == m_stops.size() ? m_stops.front() : m_stops[next];
        double span = b.position - a.position;
        double into = t - a.position;
        if (span <= 0.0) {
            span += 1.0;
            into = into < 0.0 ? into + 1.0 : into;
        }
        const double share = span > 0.0 ? into / span : 0.0;
        for (int c = 0; c < 3; ++c)
            m_table[std::size_t(i)][std::size_t(c)] = std::uint8_t(std::lround(
                a.rgb[std::size_t(c)] + share * (b.rgb[std::size_t(c)] - a.rgb[std::size_t(c)])));
        const std::array<std::uint8_t, 3> &rgb = m_table[std::size_t(i)];
        m_packed[std::size_t(i)] =
            rgb[0] | std::uint32_t(rgb[1]) << 8 | std::uint32_t(rgb[2]) << 16;
    }
}

std::optional<Palette> Palette::parse(std::string_view text, std::string *error)
{
    std::string name;
    std::vector<Stop> stops;
    std::istringstream lines{std::string(text)};
    int number = 0;
    for (std::string raw; std::getline(lines, raw);) {
        ++number;
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("name", 0) == 0 && line.find('=') != std::string::npos) {
            name = trimmed(std::string_view(line).substr(line.find('=') + 1));
            continue;
        }
        const std::optional<Stop> stop = stopOf(line);
        if (!stop || (!stops.empty() && stop->position < stops.back().position)) {
            *error = "line " + std::to_string(number) +
                     ": expected a position from 0 to 1, not below the last, and a colour "
                     "#rrggbb";
            return std::nullopt;
        }
        stops.push_back(*stop);
    }
    if (stops.size() < 2) {
        *error = "a palette needs at least two colour stops";
        return std::nullopt;
    }
    return Palette(std::move(name), std::move(stops));
}

std::string Palette::text() const
{
    std::string out = "name = " + m_name + "\n";
    for (const Stop &stop : m_stops) {
        char line[48];
        std::snprintf(line, sizeof line, "%.17g #%02x%02x%02x\n", stop.position, stop.rgb[0],
                      stop.rgb[1], stop.rgb[2]);
        out += line;
    }
    return out;
}

} // namespace dwell
