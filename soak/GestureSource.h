#pragma once

#include "ExplorerModel.h"
#include "Gesture.h"

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace dwell {

// Random gestures from a seed, so that a run can be replayed.
class GestureSource {
public:
    // The view sizes a resize may ask for, bounds included.
    struct ViewSizes {
        int minWidth;
        int maxWidth;
        int minHeight;
        int maxHeight;
    };

    GestureSource(std::uint32_t seed, ViewSizes sizes);

    // A few gestures after which the picture settles: one that leaves a
    // stroke waiting is followed by a pass, and a resize ends the burst.
    std::vector<Gesture> burst(ExplorerModel model);
    // The pause after a gesture, to catch passes at different points.
    int pauseMs();

private:
    // Worst case for a pass and its check stays around a second.
    static constexpr int kHighestDwellIndex = 6;

    Gesture next(const ExplorerModel &model);
    Gesture::Kind pickKind(const ExplorerModel &model);
    Gesture drag(const ExplorerModel &model);
    Gesture pressAcrossResize(const ExplorerModel &model);
    std::vector<std::pair<int, int>> dragPath(const ExplorerModel &model, int x, int y);
    std::pair<int, int> pointInView(const ExplorerModel &model);
    std::pair<int, int> newViewSize(const ExplorerModel &model);
    int dwellNotches(const ExplorerModel &model);
    int uniform(int low, int high);

    std::mt19937 m_rng;
    ViewSizes m_sizes;
};

} // namespace dwell
