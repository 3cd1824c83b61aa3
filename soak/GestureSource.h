#pragma once

#include "ExplorerModel.h"
#include "Gesture.h"

#include <cstdint>
#include <random>
#include <vector>

// Random gestures from a seed, so that a run can be replayed.
class GestureSource {
public:
    GestureSource(std::uint32_t seed, int width, int height);

    // A few gestures after which the picture settles: one that leaves a
    // stroke or a dwell limit waiting is followed by a pass.
    std::vector<Gesture> burst(ExplorerModel model);
    // The pause after a gesture, to catch passes at different points.
    int pauseMs();

private:
    // Worst case for a pass and its check stays around a second.
    static constexpr int kHighestDwellIndex = 6;

    Gesture next(const ExplorerModel &model);
    Gesture::Kind pickKind(const ExplorerModel &model);
    Gesture drag();
    std::pair<int, int> pointInView();
    int uniform(int low, int high);

    std::mt19937 m_rng;
    int m_width;
    int m_height;
};
