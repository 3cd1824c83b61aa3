#pragma once

namespace dwell {

// A part of the complex plane as the view shows it: the upper-left corner and
// the distance between neighbouring pixels.
struct PlaneWindow {
    double viewX;
    double viewY;
    double viewStep;
    friend bool operator==(const PlaneWindow &, const PlaneWindow &) = default;
};

} // namespace dwell
