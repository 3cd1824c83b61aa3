#include "GestureSource.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace {

using Kind = Gesture::Kind;

constexpr std::array kKinds{
    Kind::Click,       Kind::Drag,        Kind::ZoomOut,      Kind::Back,         Kind::Reset,
    Kind::Start,       Kind::ResetOrigin, Kind::Report,       Kind::Key,          Kind::DwellWheel,
    Kind::ThreadWheel, Kind::RadiusWheel, Kind::ToggleOrigin, Kind::ToggleRandom, Kind::ToggleClear,
};

constexpr std::array kKeys{"a", "Tab", "Escape", "space", "Left"};

} // namespace

GestureSource::GestureSource(std::uint32_t seed, int width, int height)
    : m_rng(seed), m_width(width), m_height(height)
{
}

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
    }
    if (model.needsPass())
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
    };
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
    return kKinds[pick(m_rng)];
}

std::pair<int, int> GestureSource::pointInView()
{
    return {uniform(0, m_width - 1), uniform(0, m_height - 1)};
}

Gesture GestureSource::drag()
{
    Gesture gesture{.kind = Kind::Drag};
    std::tie(gesture.x, gesture.y) = pointInView();
    // Some end near the collapse threshold, some beyond the view's edges.
    const int reach = uniform(0, 2) == 0 ? 16 : 400;
    for (int moves = uniform(1, 3); moves > 0; --moves) {
        const int x = std::clamp(gesture.x + uniform(-reach, reach), 0, m_width + 80);
        const int y = std::clamp(gesture.y + uniform(-reach, reach), 0, m_height + 80);
        gesture.path.emplace_back(x, y);
    }
    // Without a move away from the press there is no drag at all.
    if (gesture.path.back() == std::pair{gesture.x, gesture.y})
        gesture.path.back().first = gesture.x == 0 ? 1 : gesture.x - 1;
    return gesture;
}

Gesture GestureSource::next(const ExplorerModel &model)
{
    const Kind kind = pickKind(model);
    Gesture gesture{.kind = kind, .byKey = uniform(0, 1) == 1};
    switch (kind) {
    case Kind::Click:
        std::tie(gesture.x, gesture.y) = pointInView();
        break;
    case Kind::Drag:
        return drag();
    case Kind::Key:
        gesture.key = kKeys[std::size_t(uniform(0, int(kKeys.size()) - 1))];
        break;
    case Kind::DwellWheel:
        gesture.notches = uniform(1, 2) * (uniform(0, 1) == 0 ? -1 : 1);
        if (model.dwellIndex() + gesture.notches > kHighestDwellIndex)
            gesture.notches = -gesture.notches;
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
