#include "ExactWindow.h"

#include "BigFloat.h"
#include "DeepRenderer.h"
#include "ReferenceOrbit.h"

#include <algorithm>
#include <cmath>

namespace dwell {

namespace {

// Digits for the corner: the step's and as many again as the coordinates
// have above it, with room for the sums of many gestures.
long bitsFor(const ExtendedFloat &step)
{
    return referencePrecision(step) + 32;
}

std::string plus(const std::string &coordinate, const ExtendedFloat &step, double times, long bits)
{
    BigFloat sum(bits), term(bits);
    sum.set(coordinate);
    term.set(step);
    mpfr_mul_d(term.get(), term.get(), times, MPFR_RNDN);
    mpfr_add(sum.get(), sum.get(), term.get(), MPFR_RNDN);
    return sum.toText();
}

std::string textOf(double value)
{
    BigFloat exact(53);
    exact.set(value);
    return exact.toText();
}

double nearestOf(const std::string &text)
{
    BigFloat value(64);
    value.set(text);
    return mpfr_get_d(value.get(), MPFR_RNDN);
}

} // namespace

ExactWindow ExactWindow::of(const PlaneWindow &window)
{
    return {textOf(window.viewX), textOf(window.viewY), ExtendedFloat::of(window.viewStep)};
}

std::optional<ExactWindow> ExactWindow::around(const std::string &centerX,
                                               const std::string &centerY, const std::string &width,
                                               int w, int h)
{
    const std::optional<ExtendedFloat> step = pixelStep(width, w);
    if (!step || !(step->mantissa > 0.0) || !std::isfinite(step->mantissa) ||
        !BigFloat(64).set(centerX) || !BigFloat(64).set(centerY))
        return std::nullopt;
    const long bits = bitsFor(*step);
    return ExactWindow{plus(centerX, *step, -w / 2.0, bits), plus(centerY, *step, h / 2.0, bits),
                       *step};
}

PlaneWindow ExactWindow::nearest() const
{
    return {nearestOf(x), nearestOf(y), step.toDouble()};
}

ExactWindow ExactWindow::moved(double across, double down, double factor) const
{
    const long bits = bitsFor(step);
    return {plus(x, step, across, bits), plus(y, step, -down, bits),
            step * ExtendedFloat::of(factor)};
}

DeepWindow ExactWindow::centred(int w, int h) const
{
    const long bits = bitsFor(step);
    return {plus(x, step, w / 2.0, bits), plus(y, step, -h / 2.0, bits), step, w, h};
}

std::string ExactWindow::widthText(int w) const
{
    // A 53-bit step times a count of pixels is exact in 128 bits.
    BigFloat width(128);
    width.set(step);
    mpfr_mul_si(width.get(), width.get(), w, MPFR_RNDN);
    return width.toText();
}

bool beyondDoubles(const PlaneWindow &nearest, int w, int h)
{
    const double step = nearest.viewStep;
    if (!std::isnormal(step))
        return true;
    const double largest = std::max({std::abs(nearest.viewX), std::abs(nearest.viewX + step * w),
                                     std::abs(nearest.viewY), std::abs(nearest.viewY - step * h)});
    const double ulp = std::nextafter(largest, HUGE_VAL) - largest;
    return step < 64.0 * ulp;
}

} // namespace dwell
