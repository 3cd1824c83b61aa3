#pragma once

namespace dwell {

// Dwells of one image line: pixel i stands for c = (x + step added i times, y),
// iterated from Z0 = (originX, originY). buf[i] is the escape index, or -1 when
// the point stays bounded for maxdwell steps. Returns the sum of raw dwell counts
// (a bounded point counts maxdwell), wrapping as a 32-bit two's-complement sum.
// With norms, each escaped pixel's |z|^2 one step past its escape (0 when bounded).
int mandelLine(double originX, double originY, double escape_radius, double x, double y,
               double step, int maxdwell, int w, int *buf, float *norms = nullptr);

// The dwells of lines image lines at once, each exactly as mandelLine gives
// it: line k at y = ys[k], its pixels at buf + k * w (and norms, when given),
// its sum in sums[k]. The wide paths let a line's last, slowest pixels share
// the lanes with the next line's pixels instead of running alone.
void mandelLines(double originX, double originY, double escape_radius, double x, const double *ys,
                 int lines, double step, int maxdwell, int w, int *buf, float *norms, int *sums);

// The iterations a line of w dwells took, in 64 bits, where the line's own
// sum may wrap: a bounded pixel (-1) counts the limit.
long long lineIterations(const int *dwells, int w, int maxdwell);

} // namespace dwell
