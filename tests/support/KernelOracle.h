#pragma once

#include "Scene.h"

#include <cstdint>
#include <vector>

namespace dwell {

// The kernel's dwells for one image line of the scene, w pixels wide.
std::vector<int> kernelLine(const Scene &scene, int line, int w);

// The same for a picture of w x h pixels: the sum of the kernel's results
// over every line, and the pixels in the image buffer's format.
long long kernelTotal(const Scene &scene, int w, int h);
std::vector<std::uint8_t> kernelPixels(const Scene &scene, int w, int h);

// Direct iteration of z^2 + c from 0 in MPFR at c's precision, apart from the
// deep engine: the dwell past |z|^2 > 4, or -1 when limit iterations stay within.
class BigFloat;
int mpfrDwell(const BigFloat &cr, const BigFloat &ci, int limit);

} // namespace dwell
