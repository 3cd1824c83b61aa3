#pragma once

#include "BitmapImage.h"
#include "Display.h"
#include "GraphicsContext.h"
#include "Window.h"

#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace dwell {

class MyView;

// A display layer without a window system. Requests from any thread are
// recorded under a mutex; the test decides when pending redisplays are drawn,
// on its own thread, as the main thread's display cycle would.
class FakeDisplay : public Display, public Window, public GraphicsContext {
public:
    enum class OpKind { Image, Fill, Frame, Stroke, Flush };
    struct DrawOp {
        OpKind kind{};
        NSRect rect{};
        RGBAColor color{};
        CompositingOperation operation = CompositingOperation::Copy;
        NSPoint from{};
        NSPoint to{};
        float lineWidth = 0;
        bool outsideDisplayCycle = false;
    };

    static constexpr RGBAColor kHighlight{0.2f, 0.4f, 0.8f, 1.0f};

    void attach(MyView &view) { m_view = &view; }
    void setBounds(NSRect bounds);

    NSRect bounds() const override;
    Window *window() override { return this; }
    void displayRect(NSRect rect) override;
    void setNeedsDisplayInRect(NSRect rect) override;
    void setNeedsDisplay(bool flag) override;
    void lockFocus() override { ++m_focusDepth; }
    void unlockFocus() override { --m_focusDepth; }
    GraphicsContext &currentContext() override { return *this; }
    RGBAColor selectedTextBackgroundColor() const override { return kHighlight; }

    void makeKeyAndOrderFront() override;
    void setInitialFirstResponder(MyView &view) override { firstResponder = &view; }

    void drawImage(const BitmapImage &image, NSRect rect) override;
    void fillRect(NSRect rect, RGBAColor color, CompositingOperation operation) override;
    void frameRect(NSRect rect, RGBAColor color) override;
    void strokeLine(NSPoint from, NSPoint to, float lineWidth) override;
    void flushGraphics() override;

    // Draws every pending request, clipped to the bounds, one drawing each
    // (or their union when merge is set). Returns the number of drawings.
    int runPendingDisplays(bool merge = false);

    // What has been requested and drawn so far.
    std::vector<NSRect> stripRequests() const;
    // For each of h view rows, how many strips asked for while the given pass
    // was current cover it.
    std::vector<int> rowsCovered(int sequence, int h) const;
    int fullRequests() const;
    std::vector<NSRect> immediateRects() const { return m_immediate; }
    std::vector<DrawOp> takeOps();
    void forgetRequests();
    // The pixels of the image as last drawn into the view.
    const std::vector<std::uint8_t> &shownPixels() const { return m_shown; }

    MyView *firstResponder = nullptr;
    bool isShown = false;
    // Runs on the requesting thread after each setNeedsDisplayInRect, outside
    // the fake's mutex; a worker runs it holding the work lock. Set it before
    // any worker starts.
    std::function<void(NSRect)> onStripRequest;

private:
    std::optional<NSRect> clipped(NSRect rect) const;
    void draw(NSRect rect);
    // Notes a drawing call, and whether it came outside the display cycle.
    void record(OpKind kind, DrawOp op);

    MyView *m_view = nullptr;
    mutable std::mutex m_mutex;
    NSRect m_bounds{};
    std::vector<NSRect> m_pending;
    std::vector<NSRect> m_strips;
    // The pass number at each strip request: workers ask under the work lock,
    // and only the main thread changes the number.
    std::vector<int> m_stripSequences;
    int m_fullRequests = 0;

    // Main thread only.
    std::vector<NSRect> m_immediate;
    std::vector<DrawOp> m_ops;
    std::vector<std::uint8_t> m_shown;
    int m_focusDepth = 0;
};

} // namespace dwell
