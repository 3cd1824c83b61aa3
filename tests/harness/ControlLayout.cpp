#include "ControlLayout.h"

#include <cstdlib>
#include <vector>

namespace dwell {

namespace {

// Taller than any glyph's stem that a label can put at the column's edge.
constexpr int kFramedHeight = 12;

struct Run {
    int begin;
    int end;
    int middle() const { return (begin + end) / 2; }
};

class ColumnReader {
public:
    explicit ColumnReader(const Screenshot &shot)
        : m_shot(shot), m_background(shot.at(shot.width - 2, shot.height - 2))
    {
    }

    bool marked(int x, int y) const
    {
        const Rgb pixel = m_shot.at(x, y);
        for (std::size_t i = 0; i < pixel.size(); ++i)
            if (std::abs(int(pixel[i]) - int(m_background[i])) > 20)
                return true;
        return false;
    }

    // Rows [begin, end) of column x that differ from the background, in runs.
    std::vector<Run> runs(int x, int begin, int end) const
    {
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
    }

    int firstMarkedColumn(int from) const
    {
        for (int x = from; x < m_shot.width; ++x)
            if (!runs(x, 0, m_shot.height).empty())
                return x;
        return -1;
    }

    int lastMarkedInRow(int y) const
    {
        for (int x = m_shot.width - 1; x > 0; --x)
            if (marked(x, y))
                return x;
        return 0;
    }

private:
    const Screenshot &m_shot;
    const Rgb m_background;
};

} // namespace

std::optional<ControlLayout> ControlLayout::locate(const Screenshot &shot, int viewWidth)
{
    if (shot.width <= viewWidth + 2 || shot.height < 2)
        return std::nullopt;
    const ColumnReader column(shot);
    const int left = column.firstMarkedColumn(viewWidth);
    if (left < 0)
        return std::nullopt;
    std::vector<Run> framed;
    for (const Run &run : column.runs(left, 0, shot.height))
        if (run.end - run.begin >= kFramedHeight)
            framed.push_back(run);
    if (framed.size() != 12)
        return std::nullopt;

    const auto wide = [&](const Run &run) {
        return Point{(left + column.lastMarkedInRow(run.middle())) / 2, run.middle()};
    };
    // A switch toggles from its indicator, which is as wide as it is tall.
    const auto box = [&](const Run &run) {
        return Point{left + (run.end - run.begin) / 2, run.middle()};
    };
    // The slider's groove is the last mark above the first button, whose
    // frame starts a row higher away from its rounded corner.
    const int grooveX = left + 60;
    const std::vector<Run> between = column.runs(grooveX, framed[4].end, framed[5].begin - 2);
    if (between.empty())
        return std::nullopt;
    return ControlLayout{wide(framed[0]), wide(framed[1]), box(framed[2]),
                         box(framed[3]),  box(framed[4]),  {grooveX, between.back().middle()},
                         wide(framed[5]), wide(framed[6]), wide(framed[7]),
                         wide(framed[8]), wide(framed[9]), wide(framed[10])};
}

} // namespace dwell
