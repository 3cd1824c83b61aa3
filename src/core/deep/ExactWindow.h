#pragma once

#include "ExtendedFloat.h"
#include "Perturbation.h"
#include "PlaneWindow.h"

#include <optional>
#include <string>

namespace dwell {

// A plane window as the view holds it (the upper-left pixel and the step),
// with the corner as decimal text in full precision and the step as an
// extended float, so gestures stay exact to the pixel at any depth.
struct ExactWindow {
    std::string x = "0";
    std::string y = "0";
    ExtendedFloat step;

    // The doubles' window, digit for digit.
    static ExactWindow of(const PlaneWindow &window);
    // The window of w x h pixels centred on the point, width across, from
    // decimal text of any length; nothing when a text is not a number or the
    // width not positive.
    static std::optional<ExactWindow> around(const std::string &centerX, const std::string &centerY,
                                             const std::string &width, int w, int h);
    // The nearest doubles (0 for a step beyond their range).
    PlaneWindow nearest() const;
    // The window whose corner is (x + step * across, y - step * down), with
    // the step times factor: the gestures' arithmetic, without rounding.
    ExactWindow moved(double across, double down, double factor) const;
    // The same window for the deep engine, by its centre, for w x h pixels.
    DeepWindow centred(int w, int h) const;
    // The decimal text of the width of w pixels, every digit.
    std::string widthText(int w) const;
};

// True when 64-bit coordinates cannot space w x h pixels of the window
// evenly: the step is under 64 units in the last place of its largest
// coordinate, or not a normal double at all.
bool beyondDoubles(const PlaneWindow &nearest, int w, int h);

} // namespace dwell
