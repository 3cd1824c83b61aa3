#include "PendingRedisplays.h"

#include <algorithm>

namespace dwell {

namespace {

// False for empty, inverted and NaN rectangles alike.
bool hasArea(NSRect rect)
{
    return rect.size.width > 0 && rect.size.height > 0;
}

NSRect unite(NSRect a, NSRect b)
{
    const float left = std::min(a.origin.x, b.origin.x);
    const float bottom = std::min(a.origin.y, b.origin.y);
    const float right = std::max(a.origin.x + a.size.width, b.origin.x + b.size.width);
    const float top = std::max(a.origin.y + a.size.height, b.origin.y + b.size.height);
    return {{left, bottom}, {right - left, top - bottom}};
}

NSRect intersect(NSRect a, NSRect b)
{
    const float left = std::max(a.origin.x, b.origin.x);
    const float bottom = std::max(a.origin.y, b.origin.y);
    const float right = std::min(a.origin.x + a.size.width, b.origin.x + b.size.width);
    const float top = std::min(a.origin.y + a.size.height, b.origin.y + b.size.height);
    return {{left, bottom}, {right - left, top - bottom}};
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
    m_union = m_union ? unite(*m_union, rect) : rect;
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
    const NSRect clipped = intersect(*requested, bounds);
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
