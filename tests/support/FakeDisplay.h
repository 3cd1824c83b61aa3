#pragma once

#include "BitmapImage.h"
#include "Display.h"
#include "MyView.h"
#include "NullGraphicsContext.h"
#include "Window.h"

#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace dwell {

// A display layer without a window system: requests from any thread are recorded under a
// mutex, and the test draws them on its own thread, as the main thread's display cycle would.
class FakeDisplay : public Display, public Window, public NullGraphicsContext {
public:
    void attach(MyView &view) { m_view = &view; }
    void setBounds(NSRect bounds)
    {
        std::lock_guard lock(m_mutex);
        m_bounds = bounds;
    }

    NSRect bounds() const override
    {
        std::lock_guard lock(m_mutex);
        return m_bounds;
    }
    Window *window() override { return this; }
    void displayRect(NSRect rect) override
    {
        if (const auto area = clipped(rect))
            m_view->drawRect(*area);
    }
    void setNeedsDisplayInRect(NSRect rect) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_strips.push_back(rect);
            m_pending.push_back(rect);
        }
        if (onStripRequest)
            onStripRequest(rect);
    }
    void setNeedsDisplay(bool flag) override
    {
        std::lock_guard lock(m_mutex);
        if (flag) {
            ++m_fullRequests;
            m_pending.push_back(m_bounds);
        }
    }
    void lockFocus() override {}
    void unlockFocus() override {}
    GraphicsContext &currentContext() override { return *this; }
    RGBAColor selectedTextBackgroundColor() const override { return {0.2f, 0.4f, 0.8f, 1.0f}; }

    void makeKeyAndOrderFront() override { m_view->drawRect(bounds()); }
    void setInitialFirstResponder(MyView &) override {}

    void drawImage(const BitmapImage &image, NSRect) override
    {
        if (keepsShownPixels)
            m_shown.assign(image.bitmapData(), image.bitmapData() + image.byteCount());
    }

    // Draws every pending request clipped to the bounds, or their union when merge is set.
    void runPendingDisplays(bool merge = false)
    {
        std::vector<NSRect> pending;
        {
            std::lock_guard lock(m_mutex);
            pending.swap(m_pending);
        }
        std::vector<NSRect> areas;
        for (const NSRect &rect : pending)
            if (const auto area = clipped(rect)) {
                if (merge && !areas.empty())
                    areas.front() = unionRect(areas.front(), *area);
                else
                    areas.push_back(*area);
            }
        for (const NSRect &area : areas)
            m_view->drawRect(area);
    }

    // Every setNeedsDisplayInRect since the last forgetRequests, in order.
    std::vector<NSRect> stripRequests() const
    {
        std::lock_guard lock(m_mutex);
        return m_strips;
    }
    int fullRequests() const
    {
        std::lock_guard lock(m_mutex);
        return m_fullRequests;
    }
    void forgetRequests()
    {
        std::lock_guard lock(m_mutex);
        m_strips.clear();
        m_fullRequests = 0;
    }
    // The image as last drawn into the view, kept unless a benchmark turns it off.
    const std::vector<std::uint8_t> &shownPixels() const { return m_shown; }
    bool keepsShownPixels = true;

    // Runs after each setNeedsDisplayInRect, outside the fake's mutex (a worker
    // holds the work lock); set it before any worker starts.
    std::function<void(NSRect)> onStripRequest;

private:
    std::optional<NSRect> clipped(NSRect rect) const
    {
        const NSRect area = intersectionRect(rect, bounds());
        if (!(area.size.width > 0) || !(area.size.height > 0))
            return std::nullopt;
        return area;
    }

    MyView *m_view = nullptr;
    mutable std::mutex m_mutex;
    NSRect m_bounds{};
    std::vector<NSRect> m_pending;
    std::vector<NSRect> m_strips;
    int m_fullRequests = 0;

    // Main thread only.
    std::vector<std::uint8_t> m_shown;
};

} // namespace dwell
