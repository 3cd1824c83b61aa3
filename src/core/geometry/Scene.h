#pragma once

#include "PlaneWindow.h"

#include <string>

namespace dwell {

// Everything a finished picture depends on besides its size: the part of
// the plane it shows and how the kernel iterates there.
struct Scene {
    PlaneWindow window;
    double originX = 0.0;
    double originY = 0.0;
    int maxDwell = 1024;
    double escapeRadius = 4.0;
    // The limit changed during the pass: some lines were computed with
    // another limit than maxDwell, the first stored line's.
    bool mixedDwell = false;
    // Where doubles cannot resolve the window, the deep engine draws it: then
    // its centre and width as decimal text with every digit needed.
    std::string exactCenterX = {};
    std::string exactCenterY = {};
    std::string exactWidth = {};

    // How the dwells were coloured: "digits", or a palette's name with its
    // density and offset.
    std::string palette = "digits";
    double density = 1.0;
    double offset = 0.0;

    bool deep() const { return !exactWidth.empty(); }
};

} // namespace dwell
