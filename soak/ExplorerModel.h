#pragma once

#include "Gesture.h"
#include "KernelColors.h"
#include "PlaneModel.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace dwell {

// What the window should show after each gesture: the view's size, the plane
// window with its history, the origin, and the controls that the next pass
// reads.
class ExplorerModel {
public:
    // Up to 65536 by doubling, then on to ten million; the soak stays below.
    static constexpr int kDwellItems = 19;

    ExplorerModel(int width, int height);

    // True when the gesture starts a pass. A press released around a resize
    // takes effect as if the explorer saw the new size before the release.
    bool apply(const Gesture &gesture);
    // Every state the gesture may leave. The explorer notices a new size only
    // when it next draws, which may come after the release of a press made
    // before the resize: then there are two.
    std::vector<ExplorerModel> outcomes(const Gesture &gesture) const;

    // The picture that the last pass started paints once it is done, at the
    // dwell limit it started with.
    const Scene &shown() const { return m_shown; }
    // Every dwell limit the pass's lines may have: workers read the menu's
    // limit afresh for each line they begin, and a choice starts no pass.
    const std::vector<int> &passLimits() const { return m_passLimits; }
    bool mixedPass() const { return m_passLimits.size() > 1; }
    // A key's test stroke waits for a pass to clear it.
    bool needsPass() const { return m_needsPass; }

    int width() const { return m_width; }
    int height() const { return m_height; }
    const PlaneWindow &plane() const { return m_plane; }
    bool originMode() const { return m_originMode; }
    int dwellIndex() const { return m_dwellIndex; }

private:
    static constexpr std::size_t kHistoryDepth = 100;

    // What a press and its moves leave for the release, in the coordinates
    // of the view's size at the time.
    struct Press {
        // The point pressed, when the pointer did not move.
        std::optional<NSPoint> click;
        // A drag's selection; none when it is too small to count.
        std::optional<NSRect> selection;
    };

    PlaneModel geometry() const { return {m_width, m_height}; }
    int dwellLimit() const { return 64 << m_dwellIndex; }
    Press pressOf(const Gesture &gesture) const;
    bool release(const Press &press);
    bool resize(int width, int height);
    void turnDwellMenu(int notches);
    void zoomTo(const PlaneWindow &plane);
    bool back();
    void startPass();

    int m_width;
    int m_height;
    PlaneWindow m_plane;
    std::vector<PlaneWindow> m_history;
    double m_originX = 0.0;
    double m_originY = 0.0;
    bool m_originMode = false;
    int m_dwellIndex = 4;
    int m_sliderValue = 40;
    bool m_needsPass = false;
    Scene m_shown;
    std::vector<int> m_passLimits;
};

} // namespace dwell
