#pragma once

#include "PassStatus.h"

#include <QString>

#include <string>

namespace dwell {

// The status line's figures, worked out from one reading of a pass.
namespace StatusFigures {

// Centre and width of the plane window shown on a view of the given size.
QString windowText(const Scene &scene, int width, int height);
// A decimal number's text cut to its leading significant digits, with an
// ellipsis where digits were left out (if markCut), and its exponent.
QString leadingDigits(const std::string &decimal, int digits, bool markCut = true);
// Pixel-iterations per second with an SI prefix.
QString rateText(long long iterations, double seconds);
// A pass's time: milliseconds under a second, as most passes take.
QString durationText(double seconds);

} // namespace StatusFigures

} // namespace dwell
