#pragma once

#include "AdaptiveMutex.h"
#include "Geometry.h"

#include <functional>
#include <mutex>
#include <optional>

namespace dwell {

// Redisplay requests from any thread, gathered until the GUI thread takes
// them. The first request after a take schedules one flush; later ones ride
// along with it.
class PendingRedisplays {
public:
    explicit PendingRedisplays(std::function<void()> scheduleFlush);

    void add(NSRect rect);
    void addWholeView();
    // The union of the requests since the last take, clipped to bounds;
    // nothing when that is empty.
    std::optional<NSRect> take(NSRect bounds);
    // Requests are ignored from now on and nothing more is scheduled.
    void close();

private:
    void scheduleLocked();

    const std::function<void()> m_scheduleFlush;
    AdaptiveMutex m_mutex;
    std::optional<NSRect> m_union;
    bool m_wholeView = false;
    bool m_flushScheduled = false;
    bool m_closed = false;
};

} // namespace dwell
