#pragma once

#include "ExtendedComplex.h"
#include "ReferenceOrbit.h"

namespace dwell {

// A deep picture's plane window: its centre as decimal text, exact to the
// last digit, and the distance between neighbouring pixels.
struct DeepWindow {
    std::string centerX;
    std::string centerY;
    ExtendedFloat step;
    int width = 0;
    int height = 0;

    // Pixel (column, line) stands for centre + ((column - width/2), (height/2 - line)) * step.
    ExtendedComplex offset(int column, int line) const;
};

// The dwell of the pixel at centre + dc, by perturbation of the reference
// orbit of the centre, with the plain kernel's definition: the index of the
// first iterate whose squared modulus exceeds the bound, -1 when none below
// maxDwell does. The pixel restarts against the reference's start (rebasing)
// whenever its own value comes closer to that start than to the reference, or
// the reference runs out, so one reference serves every pixel.
int perturbedDwell(const ReferenceOrbit &orbit, const ExtendedComplex &dc, double escapeRadius,
                   int maxDwell);

} // namespace dwell
