#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dwell {

// A gradient of colour stops, written as text, one stop a line:
//
//   # comments and blank lines are skipped
//   name = Fire
//   0.0 #000000
//   0.4 #c02000
//   1.0 #ffffd0
//
// Positions run from 0 to 1 and never go back; between stops the colour
// changes linearly, and the gradient wraps from its end to its start.
class Palette {
public:
    struct Stop {
        double position;
        std::array<std::uint8_t, 3> rgb;
    };
    static constexpr int kEntries = 1024;

    // Nothing, with error set to the line and what is wrong there, for text
    // that is not a palette.
    static std::optional<Palette> parse(std::string_view text, std::string *error);
    std::string text() const;

    const std::string &name() const { return m_name; }
    const std::vector<Stop> &stops() const { return m_stops; }
    // The colour at position (taken modulo 1). Inline and without floor(),
    // which is a library call here: it runs for every pixel of a recolouring.
    const std::uint8_t *at(double position) const
    {
        if (!(position > -1e15 && position < 1e15))
            return m_table[0].data();
        double wrapped = position - double(std::int64_t(position));
        wrapped += wrapped < 0.0 ? 1.0 : 0.0;
        const int index = int(wrapped * kEntries);
        return m_table[std::size_t(index < kEntries ? index : kEntries - 1)].data();
    }

    // The same colours as at() gives for entry i of kEntries, packed as
    // r | g << 8 | b << 16, for lookups many pixels at a time.
    const std::uint32_t *packedTable() const { return m_packed.data(); }

private:
    Palette(std::string name, std::vector<Stop> stops);

    std::string m_name;
    std::vector<Stop> m_stops;
    std::array<std::array<std::uint8_t, 3>, kEntries> m_table{};
    std::array<std::uint32_t, kEntries> m_packed{};
};

} // namespace dwell
