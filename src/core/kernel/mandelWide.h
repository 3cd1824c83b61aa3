#pragma once

namespace dwell {

// The vector paths, each built for its own instruction set: call one only
// when the CPU has it. Same contract and results as mandelLineScalar.
int mandelLineAvx2(double originX, double originY, double escape_radius, double x, double y,
                   double step, int maxdwell, int w, int *buf, float *norms);
int mandelLineAvx512(double originX, double originY, double escape_radius, double x, double y,
                     double step, int maxdwell, int w, int *buf, float *norms);

// Blocks of lines sharing the lanes, with mandelLines's contract, for at
// least one line of at least one pixel at a positive limit.
void mandelLinesAvx2(double originX, double originY, double escape_radius, double x,
                     const double *ys, int lines, double step, int maxdwell, int w, int *buf,
                     float *norms, int *sums);
void mandelLinesAvx512(double originX, double originY, double escape_radius, double x,
                       const double *ys, int lines, double step, int maxdwell, int w, int *buf,
                       float *norms, int *sums);

} // namespace dwell
