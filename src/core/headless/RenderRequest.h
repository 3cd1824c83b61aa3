#pragma once

#include <string>

namespace dwell {

// What to render without a window: a picture of width x height pixels whose
// centre and width are given in the plane.
struct RenderRequest {
    int width = 1024;
    int height = 768;
    double centerX = -0.5;
    double centerY = 0.0;
    double planeWidth = 4.0;
    double originX = 0.0;
    double originY = 0.0;
    float escapeRadius = 4.0f;
    int maxDwell = 1000;
    int threads = 1;

    // Empty when the request can be rendered, else what is wrong with it.
    std::string problem() const;
};

} // namespace dwell
