#include "Screenshot.h"

#include <cstdio>

namespace dwell {

Screenshot Screenshot::ofWindow(const std::string &display, const std::string &window)
{
    Screenshot shot;
    FILE *pipe = popen(
        ("import -display " + display + " -window " + window + " -depth 8 ppm:-").c_str(), "r");
    if (!pipe)
        return shot;
    int maxValue = 0;
    if (std::fscanf(pipe, "P6 %d %d %d", &shot.width, &shot.height, &maxValue) == 3 &&
        maxValue == 255 && std::fgetc(pipe) != EOF) {
        shot.rgb.resize(3 * std::size_t(shot.width) * std::size_t(shot.height));
        if (std::fread(shot.rgb.data(), 1, shot.rgb.size(), pipe) != shot.rgb.size())
            shot.rgb.clear();
    }
    pclose(pipe);
    if (shot.rgb.empty())
        shot = {};
    return shot;
}

double Screenshot::shareMatching(const Picture &expected) const
{
    const int h = int(expected.size());
    const int w = h > 0 ? int(expected[0].size()) : 0;
    if (w == 0 || width < w || height < h)
        return 0;
    long same = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            same += at(x, y) == expected[std::size_t(y)][std::size_t(x)];
    return double(same) / (double(w) * double(h));
}

Screenshot Screenshot::below(int rows) const
{
    if (rows <= 0 || rows >= height)
        return rows <= 0 ? *this : Screenshot{};
    Screenshot rest;
    rest.width = width;
    rest.height = height - rows;
    rest.rgb.assign(rgb.begin() + 3 * std::ptrdiff_t(rows) * width, rgb.end());
    return rest;
}

} // namespace dwell
