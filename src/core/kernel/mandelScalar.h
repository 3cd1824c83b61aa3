#pragma once

namespace dwell {

// The reference line kernel: one pixel at a time, in the order that defines
// every result. The wide paths must agree with it bit for bit. With norms,
// each escaped pixel also gets |z|^2 of the iterate one step past its
// escape, rounded to a float (a bounded one 0), for colourings that shade
// between dwells.
int mandelLineScalar(double originX, double originY, double escape_radius, double x, double y,
                     double step, int maxdwell, int w, int *buf, float *norms = nullptr);

} // namespace dwell
