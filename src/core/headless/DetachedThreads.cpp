#include "DetachedThreads.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace dwell {

bool DetachedThreads::detachNewThread(std::function<void()> body)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_running;
    }
    try {
        std::thread([this, body = std::move(body)] {
            body();
            finished();
        }).detach();
        return true;
    } catch (const std::system_error &) {
        // Out of threads: the pass goes on with the workers that did start.
        finished();
        return false;
    }
}

void DetachedThreads::finished()
{
    std::lock_guard lock(m_mutex);
    --m_running;
    m_countChanged.notify_all();
}

void DetachedThreads::sleep(unsigned seconds)
{
    std::unique_lock lock(m_mutex);
    m_interruptedChanged.wait_for(lock, std::chrono::seconds(seconds),
                                  [this] { return m_interrupted; });
}

void DetachedThreads::interruptSleeps()
{
    std::lock_guard lock(m_mutex);
    m_interrupted = true;
    m_interruptedChanged.notify_all();
}

bool DetachedThreads::waitUntilIdle(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_countChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [this] { return m_running == 0; });
}

int DetachedThreads::runningCount()
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

} // namespace dwell
