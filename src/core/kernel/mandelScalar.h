#pragma once

namespace dwell {

// The reference line kernel: one pixel at a time, in the order that defines
// every result. The wide paths must agree with it bit for bit.
int mandelLineScalar(double originX, double originY, double escape_radius, double x, double y,
                     double step, int maxdwell, int w, int *buf);

} // namespace dwell
