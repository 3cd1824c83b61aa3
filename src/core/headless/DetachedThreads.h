#pragma once

#include "ThreadLauncher.h"

#include <condition_variable>
#include <mutex>

namespace dwell {

// Plain detached std::threads. Counts the running ones so that an owner that
// must outlive them (a test, or the process at exit) can cancel waits and
// wait for them to end.
class DetachedThreads : public ThreadLauncher {
public:
    bool detachNewThread(std::function<void()> body) override;
    void sleep(unsigned seconds) override;

    // Sleeps in progress or to come return at once from now on.
    void interruptSleeps();
    // True when no thread started here is still running.
    bool waitUntilIdle(int timeoutMs);
    int runningCount();

private:
    void finished();

    std::mutex m_mutex;
    // Apart, so that each thread's end wakes only those waiting for the
    // count, not every thread sleeping at its pass's end.
    std::condition_variable m_countChanged;
    std::condition_variable m_interruptedChanged;
    int m_running = 0;
    bool m_interrupted = false;
};

} // namespace dwell
