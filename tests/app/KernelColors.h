#pragma once

#include "Scene.h"

#include <array>
#include <cstdint>
#include <vector>

using Rgb = std::array<std::uint8_t, 3>;
using Picture = std::vector<std::vector<Rgb>>;

// What the picture should show: the kernel's dwells turned into colours by
// the rule the documentation gives, one row of w pixels per image line.
std::vector<Rgb> expectedLine(const Scene &scene, int line, int w);
std::vector<Rgb> expectedLine(const PlaneWindow &plane, int line, int w, int maxDwell = 1024,
                              double escapeRadius = 4.0);
Picture expectedPicture(const Scene &scene, int w, int h);
Rgb colorOfDwell(int dwell);
