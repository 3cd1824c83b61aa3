#pragma once

#include "Coloring.h"

#include <optional>
#include <string>

namespace dwell {

// Which engine computes a picture: the plain kernel in 64-bit coordinates,
// the deep engine (perturbation of an arbitrary-precision reference), or the
// plain kernel wherever 64-bit coordinates resolve the picture.
enum class Engine { Auto, Exact, Deep };

// "auto", "exact" or "deep", as the command line and location files spell them.
const char *engineName(Engine engine);
std::optional<Engine> engineNamed(const std::string &name);

// What to render without a window: a picture of width x height pixels whose
// centre and width are given in the plane.
struct RenderRequest {
    // The largest side a picture may have: posters are rendered in strips.
    static constexpr int kMaxSide = 65536;

    int width = 1024;
    int height = 768;
    // The centre and width as given, every digit, for the deep engine; the
    // doubles are the nearest (or stand alone when a text is empty).
    std::string centerXText;
    std::string centerYText;
    std::string widthText;
    double centerX = -0.5;
    double centerY = 0.0;
    double planeWidth = 4.0;
    Engine engine = Engine::Auto;
    double originX = 0.0;
    double originY = 0.0;
    float escapeRadius = 4.0f;
    int maxDwell = 1000;
    int threads = 1;
    Coloring coloring;

    // The centre and width as decimal text: as given, or the doubles' shortest.
    std::string exactCenterX() const;
    std::string exactCenterY() const;
    std::string exactWidth() const;

    // Empty when the request can be rendered, else what is wrong with it.
    std::string problem() const;
    // True when the deep engine computes the picture: asked for, or, with
    // Auto, when the pixel step is under 64 units in the last place of the
    // window's largest coordinate, where the plain kernel's successive
    // additions no longer keep the pixels evenly spaced.
    bool usesDeepEngine() const;
};

} // namespace dwell
