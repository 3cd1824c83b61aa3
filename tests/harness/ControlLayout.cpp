#include "ControlLayout.h"

#include <cstdlib>
#include <vector>

namespace dwell {

namespace {

// Taller than any glyph's stem that a label can put at the column's edge.
constexpr int kFramedHeight = 12;

struct Run {
    int begin, end;
    int middle() const { return (begin + end) / 2; }
};

} // namespace

std::optional<ControlLayout> ControlLayout::locate(const Screenshot &shot, int viewWidth)
{
    if (shot.width <= viewWidth + 2 || shot.height < 2)
        return std::nullopt;
    const Rgb background = shot.at(shot.width - 2, shot.height - 2);
    const auto marked = [&](int x, int y) {
        const Rgb pixel = shot.at(x, y);
        for (std::size_t i = 0; i < pixel.size(); ++i)
            if (std::abs(int(pixel[i]) - int(background[i])) > 20)
                return true;
        return false;
    };
    // Rows [begin, end) of column x that differ from the background, in runs.
    const auto runs = [&](int x, int begin, int end) {
        std::vector<Run> found;
        for (int y = begin; y < end; ++y) {
            if (!marked(x, y))
                continue;
            if (!found.empty() && found.back().end == y)
                found.back().end = y + 1;
            else
                found.push_back({y, y + 1});
        }
        return found;
    };
    int left = viewWidth;
    while (left < shot.width && runs(left, 0, shot.height).empty())
        ++left;
    if (left == shot.width)
        return std::nullopt;
    std::vector<Run> framed;
    for (const Run &run : runs(left, 0, shot.height))
        if (run.end - run.begin >= kFramedHeight)
            framed.push_back(run);
    if (framed.size() != 12)
        return std::nullopt;

    const auto wide = [&](const Run &run) {
        int right = shot.width - 1;
        while (right > 0 && !marked(right, run.middle()))
            --right;
        return Point{(left + right) / 2, run.middle()};
    };
    // A switch toggles from its indicator, which is as wide as it is tall.
    const auto box = [&](const Run &run) {
        return Point{left + (run.end - run.begin) / 2, run.middle()};
    };
    // The slider's groove is the last mark above the first button, whose
    // frame starts a row higher away from its rounded corner.
    const int grooveX = left + 60;
    const std::vector<Run> between = runs(grooveX, framed[4].end, framed[5].begin - 2);
    if (between.empty())
        return std::nullopt;
    return ControlLayout{wide(framed[0]), wide(framed[1]), box(framed[2]),
                         box(framed[3]),  box(framed[4]),  {grooveX, between.back().middle()},
                         wide(framed[5]), wide(framed[6]), wide(framed[7]),
                         wide(framed[8]), wide(framed[9]), wide(framed[10])};
}

} // namespace dwell
