#pragma once

namespace dwell {

// A part of the complex plane as the view shows it: the upper-left corner and
// the distance between neighbouring pixels.
struct PlaneWindow {
    double viewX;
    double viewY;
    double viewStep;

    // The window of a picture of w x h pixels around the given centre.
    static PlaneWindow centeredAt(double centerX, double centerY, double step, int w, int h)
    {
        return {centerX - step * w * 0.5, centerY + step * h * 0.5, step};
    }
    friend bool operator==(const PlaneWindow &, const PlaneWindow &) = default;
};

} // namespace dwell
