#include "StatusFigures.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>

namespace dwell {

namespace {

// Enough significant digits to tell neighbouring pixels apart, which deep in a
// zoom is nearly all a double has, and no noise digits near the whole set.
int centerDigits(double centre, double width, double step)
{
    const double span = std::max(std::abs(centre), width) / step;
    return std::clamp(int(std::ceil(std::log10(span))) + 2, 3, 17);
}

QString centerNumber(double centre, double width, double step)
{
    return QString::number(centre, 'g', centerDigits(centre, width, step));
}

} // namespace

namespace StatusFigures {

QString leadingDigits(const std::string &decimal, int digits, bool markCut)
{
    const std::size_t e = decimal.find_first_of("eE");
    const std::string mantissa = decimal.substr(0, e);
    const std::string exponent = e == std::string::npos ? "" : decimal.substr(e);
    std::string kept;
    int significant = 0;
    bool started = false;
    for (const char c : mantissa) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            started = started || c != '0';
            if (started && ++significant > digits)
                break;
        }
        kept += c;
    }
    const bool cut = kept.size() < mantissa.size();
    // Zeros after the point say nothing once the rest is cut.
    if (kept.find('.') != std::string::npos) {
        while (kept.back() == '0')
            kept.pop_back();
        if (kept.back() == '.')
            kept.pop_back();
    }
    return QString::fromStdString(kept) +
           (cut && markCut ? QString::fromUtf8("\u2026") : QString()) +
           QString::fromStdString(exponent);
}

QString windowText(const Scene &scene, int width, int height)
{
    if (scene.deep()) {
        // Every digit would not fit: the leading ones tell the place, the width the depth.
        return QCoreApplication::translate("StatusFigures",
                                           "deep \u00b7 centre %1, %2 \u00b7 width %3")
            .arg(leadingDigits(scene.exactCenterX, 10), leadingDigits(scene.exactCenterY, 10),
                 leadingDigits(scene.exactWidth, 6, false));
    }
    const PlaneWindow &window = scene.window;
    if (!(window.viewStep > 0.0))
        return QString();
    const double centerX = window.viewX + window.viewStep * width / 2.0;
    const double centerY = window.viewY - window.viewStep * height / 2.0;
    const double span = window.viewStep * width;
    return QCoreApplication::translate("StatusFigures", "centre %1, %2 \u00b7 width %3")
        .arg(centerNumber(centerX, span, window.viewStep),
             centerNumber(centerY, span, window.viewStep), QString::number(span, 'g', 6));
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
    return QCoreApplication::translate("StatusFigures", "%1 %2iterations/s")
        .arg(rate, 0, 'f', 2)
        .arg(prefixes[prefix]);
}

QString durationText(double seconds)
{
    // Below what would round up to "1000.0 ms".
    if (seconds < 0.99995)
        return QCoreApplication::translate("StatusFigures", "%1 ms").arg(seconds * 1e3, 0, 'f', 1);
    return QCoreApplication::translate("StatusFigures", "%1 s").arg(seconds, 0, 'f', 2);
}

} // namespace StatusFigures

} // namespace dwell
