#pragma once

#include "Gesture.h"
#include "KernelColors.h"
#include "PlaneModel.h"

#include <cstddef>
#include <vector>

// What the window should show after each gesture: the plane window with its
// history, the origin, and the controls that the next pass reads.
class ExplorerModel {
public:
    static constexpr int kDwellItems = 11;

    ExplorerModel(int width, int height);

    // True when the gesture starts a pass.
    bool apply(const Gesture &gesture);
    // The picture that the last pass started paints once it is done.
    const Scene &shown() const { return m_shown; }
    // A new dwell limit or a key's test stroke waits for a pass to clear it.
    bool needsPass() const { return m_needsPass; }

    const PlaneWindow &plane() const { return m_plane; }
    bool originMode() const { return m_originMode; }
    int dwellIndex() const { return m_dwellIndex; }
    int sliderValue() const { return m_sliderValue; }
    std::size_t historySize() const { return m_history.size(); }

private:
    static constexpr std::size_t kHistoryDepth = 100;

    bool press(const Gesture &gesture);
    void zoomTo(const PlaneWindow &plane);
    bool back();
    void startPass();

    PlaneModel m_geometry;
    PlaneWindow m_plane;
    std::vector<PlaneWindow> m_history;
    double m_originX = 0.0;
    double m_originY = 0.0;
    bool m_originMode = false;
    int m_dwellIndex = 4;
    int m_sliderValue = 40;
    bool m_needsPass = false;
    Scene m_shown;
};
