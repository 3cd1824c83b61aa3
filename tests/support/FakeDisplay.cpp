#include "FakeDisplay.h"

#include "MyView.h"

#include <algorithm>

namespace dwell {

void FakeDisplay::setBounds(NSRect bounds)
{
    std::lock_guard lock(m_mutex);
    m_bounds = bounds;
}

NSRect FakeDisplay::bounds() const
{
    std::lock_guard lock(m_mutex);
    return m_bounds;
}

void FakeDisplay::displayRect(NSRect rect)
{
    m_immediate.push_back(rect);
    if (const auto area = clipped(rect))
        draw(*area);
}

void FakeDisplay::setNeedsDisplayInRect(NSRect rect)
{
    {
        std::lock_guard lock(m_mutex);
        m_strips.push_back(rect);
        m_stripSequences.push_back(m_view ? m_view->comp_sequence : 0);
        m_pending.push_back(rect);
    }
    if (onStripRequest)
        onStripRequest(rect);
}

void FakeDisplay::setNeedsDisplay(bool flag)
{
    std::lock_guard lock(m_mutex);
    if (!flag)
        return;
    ++m_fullRequests;
    m_pending.push_back(m_bounds);
}

void FakeDisplay::makeKeyAndOrderFront()
{
    isShown = true;
    draw(bounds());
}

int FakeDisplay::runPendingDisplays(bool merge)
{
    std::vector<NSRect> pending;
    {
        std::lock_guard lock(m_mutex);
        pending.swap(m_pending);
    }
    std::vector<NSRect> areas;
    for (const NSRect &rect : pending)
        if (const auto area = clipped(rect))
            areas.push_back(*area);
    if (merge && !areas.empty()) {
        NSRect all = areas.front();
        for (const NSRect &r : areas)
            all = unionRect(all, r);
        areas = {all};
    }
    for (const NSRect &area : areas)
        draw(area);
    return int(areas.size());
}

std::optional<NSRect> FakeDisplay::clipped(NSRect rect) const
{
    const NSRect area = intersectionRect(rect, bounds());
    if (!(area.size.width > 0) || !(area.size.height > 0))
        return std::nullopt;
    return area;
}

void FakeDisplay::draw(NSRect rect)
{
    if (m_view)
        m_view->drawRect(rect);
}

std::vector<NSRect> FakeDisplay::stripRequests() const
{
    std::lock_guard lock(m_mutex);
    return m_strips;
}

std::vector<int> FakeDisplay::rowsCovered(int sequence, int h) const
{
    std::lock_guard lock(m_mutex);
    std::vector<int> rows(std::size_t(std::max(h, 0)));
    for (std::size_t i = 0; i < m_strips.size(); ++i) {
        if (m_stripSequences[i] != sequence)
            continue;
        const NSRect &strip = m_strips[i];
        // A row outside the view throws, and fails the test that asked.
        for (int row = int(strip.origin.y); row < int(strip.origin.y + strip.size.height); ++row)
            ++rows.at(std::size_t(row));
    }
    return rows;
}

int FakeDisplay::fullRequests() const
{
    std::lock_guard lock(m_mutex);
    return m_fullRequests;
}

std::vector<FakeDisplay::DrawOp> FakeDisplay::takeOps()
{
    std::vector<DrawOp> ops;
    ops.swap(m_ops);
    return ops;
}

void FakeDisplay::forgetRequests()
{
    std::lock_guard lock(m_mutex);
    m_strips.clear();
    m_stripSequences.clear();
    m_fullRequests = 0;
    m_immediate.clear();
}

void FakeDisplay::record(OpKind kind, DrawOp op)
{
    op.kind = kind;
    op.outsideDisplayCycle = m_focusDepth > 0;
    m_ops.push_back(op);
}

void FakeDisplay::drawImage(const BitmapImage &image, NSRect rect)
{
    record(OpKind::Image, {.rect = rect});
    m_shown.assign(image.bitmapData(), image.bitmapData() + image.byteCount());
}

void FakeDisplay::fillRect(NSRect rect, RGBAColor color, CompositingOperation operation)
{
    record(OpKind::Fill, {.rect = rect, .color = color, .operation = operation});
}

void FakeDisplay::frameRect(NSRect rect, RGBAColor color)
{
    record(OpKind::Frame, {.rect = rect, .color = color});
}

void FakeDisplay::strokeLine(NSPoint from, NSPoint to, float lineWidth)
{
    record(OpKind::Stroke, {.from = from, .to = to, .lineWidth = lineWidth});
}

void FakeDisplay::flushGraphics()
{
    record(OpKind::Flush, {});
}

} // namespace dwell
