#pragma once

#include "Scene.h"

namespace dwell {

// A consistent reading of the current render pass, for status displays.
struct PassStatus {
    int sequence;
    int linesStored;
    int height;
    int width;
    // Sum of the stored lines' dwells: the iterations the pass has done.
    long long iterations;
    // What the pass computes: recorded at its start, with the dwell limit of
    // its first stored line.
    Scene scene;
    // From the pass's start to its last stored line, or to now while it runs.
    double seconds;
    // Not one of its workers could be started: the picture will never come.
    bool failed;
    // A deep pass's reference orbit: iterations done, of at most the limit
    // (0 when the plain kernel computes the pass).
    long long referenceDone = 0;
    int referenceLimit = 0;
    // The dwell limit and escape bound the next start would take (0 when unknown).
    int nextMaxDwell = 0;
    double nextEscapeRadius = 0.0;

    // The controls differ from what the picture shows: a start would redraw it.
    bool settingsPending() const
    {
        return (nextMaxDwell > 0 && (nextMaxDwell != scene.maxDwell || scene.mixedDwell)) ||
               (nextEscapeRadius > 0.0 && nextEscapeRadius != scene.escapeRadius);
    }

    bool finished() const { return linesStored >= height; }
};

} // namespace dwell
