#pragma once

#include "PlaneWindow.h"

// A consistent reading of the current render pass, for status displays.
struct PassStatus {
    int sequence;
    int linesStored;
    int height;
    int width;
    // Sum of the stored lines' dwells: the iterations the pass has done.
    long long iterations;
    PlaneWindow window;
    // From the pass's start to its last stored line, or to now while it runs.
    double seconds;

    bool finished() const { return linesStored >= height; }
};
