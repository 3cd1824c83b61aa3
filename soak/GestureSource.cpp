#include "GestureSource.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace dwell {

namespace {

using Kind = Gesture::Kind;

constexpr std::array kKinds{
    Kind::Click,        Kind::Drag,
    Kind::ZoomOut,      Kind::Back,
    Kind::Reset,        Kind::Start,
    Kind::ResetOrigin,  Kind::Report,
    Kind::Key,          Kind::DwellWheel,
    Kind::ThreadWheel,  Kind::RadiusWheel,
    Kind::ToggleOrigin, Kind::ToggleRandom,
    Kind::ToggleClear,  Kind::StartAndDwellWheel,
    Kind::Resize,       Kind::ResizeWhilePressed,
};

constexpr std::array kKeys{"a", "Tab", "Escape", "space", "Left"};

} // namespace

GestureSource::GestureSource(std::uint32_t seed, ViewSizes sizes) : m_rng(seed), m_sizes(sizes) {}

int GestureSource::uniform(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_rng);
}

std::vector<Gesture> GestureSource::burst(ExplorerModel model)
{
    std::vector<Gesture> gestures;
    for (int count = uniform(1, 4); count > 0; --count) {
        gestures.push_back(next(model));
        model.apply(gestures.back());
        // The explorer notices a new size only when it next draws, so a
        // gesture that reads the size or a control could act before that or
        // after it; Start reads neither.
        if (gestures.back().resizes())
            break;
    }
    // A stroke needs a pass to clear it. A new size or a changed dwell limit
    // may be followed by a start, to catch one close behind the other.
    const bool mayStart = gestures.back().resizes() || model.mixedPass();
    if (model.needsPass() || (mayStart && uniform(0, 2) == 0))
        gestures.push_back({.kind = Kind::Start, .byKey = uniform(0, 1) == 1});
    return gestures;
}

int GestureSource::pauseMs()
{
    return uniform(0, 3) == 0 ? 0 : uniform(10, 250);
}

Gesture::Kind GestureSource::pickKind(const ExplorerModel &model)
{
    // Deep zooms and far origins make dull pictures: lean back towards the set.
    const bool deep = model.plane().viewStep < 1e-12;
    const bool moved = model.shown().originX != 0.0 || model.shown().originY != 0.0;
    const std::array<double, kKinds.size()> weights{
        20,
        20,
        deep ? 30.0 : 7.0,
        deep ? 20.0 : 7.0,
        deep ? 10.0 : 3.0,
        4,
        moved ? 8.0 : 2.0,
        2,
        4,
        6,
        4,
        4,
        model.originMode() ? 12.0 : 2.0,
        3,
        3,
        6,
        3,
        4,
    };
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
    return kKinds[pick(m_rng)];
}

std::pair<int, int> GestureSource::pointInView(const ExplorerModel &model)
{
    return {uniform(0, model.width() - 1), uniform(0, model.height() - 1)};
}

std::vector<std::pair<int, int>> GestureSource::dragPath(const ExplorerModel &model, int x, int y)
{
    // Some end near the collapse threshold, some beyond the view's edges.
    std::vector<std::pair<int, int>> path;
    const int reach = uniform(0, 2) == 0 ? 16 : 400;
    for (int moves = uniform(1, 3); moves > 0; --moves) {
        const int toX = std::clamp(x + uniform(-reach, reach), 0, model.width() + 80);
        const int toY = std::clamp(y + uniform(-reach, reach), 0, model.height() + 80);
        path.emplace_back(toX, toY);
    }
    // Without a move away from the press there is no drag at all.
    if (path.back() == std::pair{x, y})
        path.back().first = x == 0 ? 1 : x - 1;
    return path;
}

Gesture GestureSource::drag(const ExplorerModel &model)
{
    Gesture gesture{.kind = Kind::Drag};
    std::tie(gesture.x, gesture.y) = pointInView(model);
    gesture.path = dragPath(model, gesture.x, gesture.y);
    return gesture;
}

std::pair<int, int> GestureSource::newViewSize(const ExplorerModel &model)
{
    int width = uniform(m_sizes.minWidth, m_sizes.maxWidth);
    const int height = uniform(m_sizes.minHeight, m_sizes.maxHeight);
    if (width == model.width() && height == model.height())
        width += width == m_sizes.maxWidth ? -1 : 1;
    return {width, height};
}

Gesture GestureSource::pressAcrossResize(const ExplorerModel &model)
{
    Gesture gesture{.kind = Kind::ResizeWhilePressed};
    std::tie(gesture.width, gesture.height) = newViewSize(model);
    // Pressed where the view is at both sizes; half of them drag first.
    gesture.x = uniform(0, std::min(model.width(), gesture.width) - 1);
    gesture.y = uniform(0, std::min(model.height(), gesture.height) - 1);
    if (uniform(0, 1) == 1)
        gesture.path = dragPath(model, gesture.x, gesture.y);
    return gesture;
}

int GestureSource::dwellNotches(const ExplorerModel &model)
{
    // Turned past either end, the menu would not change at all.
    const int notches = uniform(1, 2) * (uniform(0, 1) == 0 ? -1 : 1);
    const int index = model.dwellIndex() + notches;
    return index < 0 || index > kHighestDwellIndex ? -notches : notches;
}

Gesture GestureSource::next(const ExplorerModel &model)
{
    const Kind kind = pickKind(model);
    Gesture gesture{.kind = kind, .byKey = uniform(0, 1) == 1};
    switch (kind) {
    case Kind::Click:
        std::tie(gesture.x, gesture.y) = pointInView(model);
        break;
    case Kind::Drag:
        return drag(model);
    case Kind::ResizeWhilePressed:
        return pressAcrossResize(model);
    case Kind::Resize:
        std::tie(gesture.width, gesture.height) = newViewSize(model);
        break;
    case Kind::Key:
        gesture.key = kKeys[std::size_t(uniform(0, int(kKeys.size()) - 1))];
        break;
    case Kind::DwellWheel:
    case Kind::StartAndDwellWheel:
        gesture.notches = dwellNotches(model);
        break;
    case Kind::ThreadWheel:
    case Kind::RadiusWheel:
        gesture.notches = uniform(1, 3) * (uniform(0, 1) == 0 ? -1 : 1);
        break;
    default:
        break;
    }
    return gesture;
}

} // namespace dwell
