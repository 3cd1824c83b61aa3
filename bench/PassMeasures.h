#pragma once

#include <string>
#include <vector>

namespace benchmark {
class State;
}

namespace dwell {

class MyView;

// Registers "<prefix>/<n>_threads" for 1, 2 and as many threads as cores,
// timed by the passes' own clock.
void registerByThreadCount(const std::string &prefix, void (*pass)(benchmark::State &, int));

// Times passes by the view's own clock, from the start to the last stored
// line, and after each one measures what the same pass would cost if nothing
// but the kernel ran: its lines shared among as many plain threads, each
// timing its own kernel calls. Alternating the two keeps a machine whose
// speed drifts from skewing their ratio.
class PassMeter {
public:
    PassMeter(MyView &view, int threads) : m_view(view), m_threads(threads) {}

    // Call once per benchmark iteration, after its pass has ended.
    void passEnded(benchmark::State &state);
    // From the medians of passes and of shares: the throughput, the kernel's
    // share, the excess over it in per cent, and the time each line
    // spent outside the kernel (schedule, lock, colouring, redisplay requests)
    // over all threads.
    void report(benchmark::State &state) const;

private:
    MyView &m_view;
    const int m_threads;
    long long m_iterations = 0;
    std::vector<double> m_passSeconds;
    std::vector<double> m_kernelSeconds;
};

} // namespace dwell
