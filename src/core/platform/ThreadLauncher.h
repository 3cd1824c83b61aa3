#pragma once

#include <functional>

namespace dwell {

// Worker threads for render passes: detached, never joined.
class ThreadLauncher {
public:
    virtual ~ThreadLauncher() = default;

    // Starts body on a new detached thread and returns at once; false when
    // the system refused the thread.
    virtual bool detachNewThread(std::function<void()> body) = 0;
    // Suspends the calling thread.
    virtual void sleep(unsigned seconds) = 0;
};

} // namespace dwell
