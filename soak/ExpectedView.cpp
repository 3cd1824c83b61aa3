#include "ExpectedView.h"

#include <algorithm>
#include <cstdio>

namespace dwell {

namespace {

std::string hex(Rgb c)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c[0], c[1], c[2]);
    return text;
}

} // namespace

ExpectedView::ExpectedView(const ExplorerModel &model)
    : m_width(model.width()), m_height(model.height())
{
    Scene scene = model.shown();
    for (const int limit : model.passLimits()) {
        scene.maxDwell = limit;
        m_pictures.push_back(expectedPicture(scene, m_width, m_height));
    }
}

bool ExpectedView::fits(const Screenshot &shot) const
{
    return shot.width >= m_width && shot.height >= m_height;
}

int ExpectedView::matchingInRow(const Screenshot &shot, const Picture &picture, int y) const
{
    const std::vector<Rgb> &row = picture[std::size_t(y)];
    int same = 0;
    for (int x = 0; x < m_width; ++x)
        same += shot.at(x, y) == row[std::size_t(x)];
    return same;
}

double ExpectedView::shareShown(const Screenshot &shot) const
{
    if (!fits(shot))
        return 0;
    long same = 0;
    for (int y = 0; y < m_height; ++y) {
        int best = 0;
        for (const Picture &picture : m_pictures)
            best = std::max(best, matchingInRow(shot, picture, y));
        same += best;
    }
    return double(same) / (double(m_width) * double(m_height));
}

std::string ExpectedView::firstDifference(const Screenshot &shot) const
{
    if (!fits(shot))
        return "shot is " + std::to_string(shot.width) + "x" + std::to_string(shot.height);
    const auto explained = [&](int y) {
        return std::ranges::any_of(m_pictures, [&](const Picture &picture) {
            return matchingInRow(shot, picture, y) == m_width;
        });
    };
    for (int y = 0; y < m_height; ++y) {
        if (explained(y))
            continue;
        const std::vector<Rgb> &row = m_pictures.front()[std::size_t(y)];
        for (int x = 0; x < m_width; ++x)
            if (shot.at(x, y) != row[std::size_t(x)])
                return "first difference at " + std::to_string(x) + "," + std::to_string(y) +
                       ": shown " + hex(shot.at(x, y)) + ", expected " + hex(row[std::size_t(x)]);
    }
    return "no difference";
}

} // namespace dwell
