#pragma once

#include "DetachedThreads.h"

#include <atomic>

// Real detached workers, but the one-second wait at the end of a pass is
// instant so that tests run quickly.
class TestThreads : public DetachedThreads {
public:
    void detachNewThread(std::function<void()> body) override
    {
        ++started;
        DetachedThreads::detachNewThread(std::move(body));
    }
    void sleep(unsigned) override { ++sleeps; }

    std::atomic<int> started{0};
    std::atomic<int> sleeps{0};
};
