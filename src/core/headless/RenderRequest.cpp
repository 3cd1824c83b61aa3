#include "RenderRequest.h"

#include "DeepRenderer.h"
#include "ExactWindow.h"
#include "MyView.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace dwell {

namespace {

std::string textOr(const std::string &text, double value)
{
    if (!text.empty())
        return text;
    char digits[32];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, end.ptr);
}

} // namespace

std::string RenderRequest::exactCenterX() const
{
    return textOr(centerXText, centerX);
}

std::string RenderRequest::exactCenterY() const
{
    return textOr(centerYText, centerY);
}

std::string RenderRequest::exactWidth() const
{
    return textOr(widthText, planeWidth);
}

std::string RenderRequest::problem() const
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return "the size must be from 1x1 to " + std::to_string(kMaxSide) + "x" +
               std::to_string(kMaxSide) + " pixels";
    // The text where one is given, else the double; nothing when not a number.
    const auto exact = [](const std::string &text, double value) {
        return text.empty() ? std::optional(ExtendedFloat::of(value)) : parseDecimal(text);
    };
    const auto finite = [](const std::optional<ExtendedFloat> &value) {
        return value && std::isfinite(value->mantissa);
    };
    if (!finite(exact(centerXText, centerX)) || !finite(exact(centerYText, centerY)))
        return "the centre must be a finite point";
    const std::optional<ExtendedFloat> exactWidth = exact(widthText, planeWidth);
    if (!finite(exactWidth) || !(exactWidth->mantissa > 0))
        return "the width must be a positive number";
    if (engine == Engine::Exact && !(planeWidth / width > 0))
        return "the width is too small for the exact engine; use --engine deep";
    if (!std::isfinite(originX) || !std::isfinite(originY))
        return "the origin must be a finite point";
    if (!std::isfinite(escapeRadius))
        return "the escape bound must be a finite number";
    if (maxDwell < 1)
        return "the dwell limit must be at least 1";
    if (threads < 1 || threads > 1024)
        return "the thread count must be from 1 to 1024";
    return {};
}

bool RenderRequest::usesDeepEngine() const
{
    if (engine != Engine::Auto)
        return engine == Engine::Deep;
    // The window's own test, so that the command line hands over where the window does.
    const double step = planeWidth / width;
    return beyondDoubles(PlaneWindow::centeredAt(centerX, centerY, step, width, height), width,
                         height);
}

const char *engineName(Engine engine)
{
    switch (engine) {
    case Engine::Exact:
        return "exact";
    case Engine::Deep:
        return "deep";
    case Engine::Auto:
        break;
    }
    return "auto";
}

std::optional<Engine> engineNamed(const std::string &name)
{
    for (const Engine engine : {Engine::Auto, Engine::Exact, Engine::Deep})
        if (name == engineName(engine))
            return engine;
    return std::nullopt;
}

} // namespace dwell
