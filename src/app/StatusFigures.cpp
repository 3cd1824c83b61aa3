#include "StatusFigures.h"

#include <array>

namespace {

// Twelve significant digits still tell neighbouring pixels apart deep in a zoom.
QString planeNumber(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

namespace StatusFigures {

QString windowText(const PlaneWindow &window, int width, int height)
{
    const double centreX = window.viewX + window.viewStep * width / 2.0;
    const double centreY = window.viewY - window.viewStep * height / 2.0;
    return QString::fromUtf8("centre %1, %2 \u00b7 width %3")
        .arg(planeNumber(centreX), planeNumber(centreY), planeNumber(window.viewStep * width));
}

QString rateText(long long iterations, double seconds)
{
    if (seconds <= 0.0)
        return QString();
    static constexpr std::array<const char *, 5> prefixes{"", "k ", "M ", "G ", "T "};
    double rate = double(iterations) / seconds;
    std::size_t prefix = 0;
    while (rate >= 1000.0 && prefix + 1 < prefixes.size()) {
        rate /= 1000.0;
        ++prefix;
    }
    return QString("%1 %2iterations/s").arg(rate, 0, 'f', 2).arg(prefixes[prefix]);
}

} // namespace StatusFigures
