#include "PendingRedisplays.h"

#include <algorithm>

namespace dwell {

namespace {

// False for empty, inverted and NaN rectangles alike.
bool hasArea(NSRect rect)
{
    return rect.size.width > 0 && rect.size.height > 0;
}

} // namespace

PendingRedisplays::PendingRedisplays(std::function<void()> scheduleFlush)
    : m_scheduleFlush(std::move(scheduleFlush))
{
}

void PendingRedisplays::add(NSRect rect)
{
    if (!hasArea(rect))
        return;
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return;
    m_union = m_union ? unionRect(*m_union, rect) : rect;
    scheduleLocked();
}

void PendingRedisplays::addWholeView()
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return;
    m_wholeView = true;
    scheduleLocked();
}

void PendingRedisplays::scheduleLocked()
{
    // Scheduling under the lock: once close() has returned, nobody is left
    // inside the callback.
    if (m_flushScheduled)
        return;
    m_flushScheduled = true;
    m_scheduleFlush();
}

std::optional<NSRect> PendingRedisplays::take(NSRect bounds)
{
    std::optional<NSRect> requested;
    bool wholeView;
    {
        std::lock_guard lock(m_mutex);
        requested = m_union;
        wholeView = m_wholeView;
        m_union.reset();
        m_wholeView = false;
        m_flushScheduled = false;
    }
    if (wholeView)
        requested = bounds;
    if (!requested)
        return std::nullopt;
    const NSRect clipped = intersectionRect(*requested, bounds);
    if (!hasArea(clipped))
        return std::nullopt;
    return clipped;
}

void PendingRedisplays::close()
{
    std::lock_guard lock(m_mutex);
    m_closed = true;
}

} // namespace dwell
