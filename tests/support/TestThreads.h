#pragma once

#include "DetachedThreads.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

namespace dwell {

// Real detached workers, but the one-second wait at the end of a pass is
// instant so that tests run quickly. The waits asked for are recorded.
class TestThreads : public DetachedThreads {
public:
    bool detachNewThread(std::function<void()> body) override
    {
        if (refuse)
            return false;
        ++started;
        return DetachedThreads::detachNewThread(std::move(body));
    }
    void sleep(unsigned seconds) override
    {
        {
            std::lock_guard lock(m_sleepMutex);
            m_sleepArguments.push_back(seconds);
        }
        if (onSleep)
            onSleep();
    }
    std::vector<unsigned> sleepArguments() const
    {
        std::lock_guard lock(m_sleepMutex);
        return m_sleepArguments;
    }

    std::atomic<int> started{0};
    // Refuses every thread, as a system out of processes does.
    bool refuse = false;
    // Runs on the sleeping thread; set it before any worker starts.
    std::function<void()> onSleep;

private:
    mutable std::mutex m_sleepMutex;
    std::vector<unsigned> m_sleepArguments;
};

} // namespace dwell
