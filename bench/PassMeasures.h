#pragma once

#include <string>

namespace benchmark {
class State;
}
class MyView;

// Registers "<prefix>/<n>_threads" for 1, 2 and as many threads as cores.
void registerByThreadCount(const std::string &prefix, void (*pass)(benchmark::State &, int));

// What a pass of the view's window would cost if nothing but the kernel ran:
// its lines shared among as many plain threads, each timing its own kernel
// calls. The sum of those times divided by the thread count, in seconds.
double kernelShareSeconds(MyView &view, int threads);

// Counters for a pass that took passSeconds of wall time: the kernel's share,
// the excess over it in per cent, and the time each line spent outside the
// kernel (schedule, lock, pixel writes, redisplay requests) over all threads.
void reportOverhead(benchmark::State &state, MyView &view, int threads, double passSeconds);
