#pragma once

#include <pthread.h>

namespace dwell {

// A mutex whose waiters spin for a moment before they sleep. The view's lock
// is held for well under a microsecond at a time; a worker that sleeps on it
// leaves its core idle, and waking it again costs far more than the wait,
// above all on a virtual machine. Lockable, like std::mutex.
class AdaptiveMutex {
public:
    AdaptiveMutex();
    ~AdaptiveMutex();
    AdaptiveMutex(const AdaptiveMutex &) = delete;
    AdaptiveMutex &operator=(const AdaptiveMutex &) = delete;

    void lock();
    bool try_lock();
    void unlock();

private:
    pthread_mutex_t m_mutex;
};

} // namespace dwell
