#pragma once

#include "Scene.h"

#include <array>
#include <cstdint>
#include <vector>

namespace dwell {

using Rgb = std::array<std::uint8_t, 3>;
using Picture = std::vector<std::vector<Rgb>>;

// What the picture should show: the kernel's dwells in the explorer's colours, row by row.
Picture expectedPicture(const Scene &scene, int w, int h);

} // namespace dwell
