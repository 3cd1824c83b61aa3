#include "MyView.h"

#include "Display.h"
#include "DwellColor.h"
#include "ThreadLauncher.h"
#include "mandel.h"

#include <array>

struct MyView::WorkerSnapshot {
    int working_sequence;
    int w;
    int h;
    double x;
    double y;
    double step;
};

MyView::WorkerSnapshot MyView::takeSnapshot()
{
    // frame and the plane window only change under the lock.
    std::lock_guard lock(workLock);
    return {0, int(frame.size.width), int(frame.size.height), viewX, viewY, viewStep};
}

void MyView::threadMain(int currentSequence)
{
    WorkerSnapshot snapshot = takeSnapshot();
    snapshot.working_sequence = currentSequence;
    std::array<int, kTableSize> buf;

    for (;;) {
        int myLine;
        {
            std::lock_guard lock(workLock);
            if (snapshot.working_sequence != comp_sequence)
                return;
            myLine = lastLine;
            lastLine = myLine + 1;
        }
        if (myLine >= snapshot.h)
            break;
        const int r = lineTable[myLine];
        const int update_dwells =
            mandelLine(originX, originY, escapeRadius, snapshot.x, snapshot.y - snapshot.step * r,
                       snapshot.step, max_dwells, snapshot.w, buf.data());
        if (!storeLine(snapshot, myLine, buf.data(), update_dwells))
            return;
    }
    m_display.setNeedsDisplay(true);
    m_threads.sleep(1);
    m_display.setNeedsDisplay(true);
}

bool MyView::storeLine(const WorkerSnapshot &snapshot, int myLine, const int *buf,
                       int update_dwells)
{
    std::lock_guard lock(workLock);
    // A current pass guarantees that the image is still the snapshot's size.
    if (snapshot.working_sequence != comp_sequence)
        return false;
    // The totals wrap like the kernel's sums instead of overflowing.
    total_dwells = int(unsigned(total_dwells) + unsigned(update_dwells));
    acc_dwells = int(unsigned(acc_dwells) + unsigned(update_dwells));
    ++lines_stored;
    pass_iterations += update_dwells;

    const int line = lineTable[myLine];
    std::uint8_t *pixel = bitmapData + std::size_t(3) * std::size_t(snapshot.w) * std::size_t(line);
    for (int idx = 0; idx < snapshot.w; ++idx, pixel += 3)
        storeDwellColor(buf[idx], pixel);

    const NSRect updateRect{{0.0f, float(snapshot.h - line - 1)}, {float(snapshot.w), 1.0f}};
    m_display.setNeedsDisplayInRect(updateRect);
    return true;
}
