#include "MyView.h"

#include "Coloring.h"
#include "DeepPass.h"
#include "Display.h"
#include "ThreadLauncher.h"
#include "mandel.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>

namespace dwell {

struct MyView::WorkerSnapshot {
    int working_sequence;
    int w;
    int h;
    double x;
    double y;
    double step;
    // The deep engine's share of the pass, when it computes the lines.
    std::shared_ptr<DeepPass> deep;
    // Where the pass's lines keep their dwells and norms.
    std::shared_ptr<PixelValues> values;
};

struct MyView::ComputedLine {
    const std::uint8_t *rgb;
    // The colouring generation rgb was coloured with.
    int coloredWith;
    int update_dwells;
    // The line's iterations, which the 32-bit dwell sum may have wrapped.
    long long iterations;
    int limit;
};

MyView::WorkerSnapshot MyView::takeSnapshot(int sequence)
{
    // frame and the plane window only change under the lock; the deep share
    // is this pass's only while the pass is current.
    std::lock_guard lock(workLock);
    return {sequence,
            int(frame.size.width),
            int(frame.size.height),
            viewX,
            viewY,
            viewStep,
            sequence == comp_sequence ? deepPass : nullptr,
            sequence == comp_sequence ? pixelValues : nullptr};
}

void MyView::computeDeepLine(const WorkerSnapshot &snapshot, int r, int limit, int *dwells,
                             float *norms)
{
    for (int column = 0; column < snapshot.w; ++column) {
        double norm = 0.0;
        dwells[column] = snapshot.deep->dwell(column, r, limit, &norm);
        norms[column] = float(norm);
    }
}

void MyView::threadMain(int currentSequence)
{
    WorkerSnapshot snapshot = takeSnapshot(currentSequence);
    // The reference orbit, once per pass, on whichever worker comes first.
    if (!snapshot.values || (snapshot.deep && !snapshot.deep->prepare([this, currentSequence] {
            return passSuperseded(currentSequence);
        })))
        return;
    // Coloured before taking the lock, so the lock is held for a copy only.
    std::array<std::uint8_t, 3 * kTableSize> rgb;

    // The colouring, copied again only when it changes.
    Coloring lineColoring;
    int generation = -1;
    for (;;) {
        int myLine;
        {
            std::lock_guard lock(workLock);
            if (snapshot.working_sequence != comp_sequence)
                return;
            myLine = lastLine;
            lastLine = myLine + 1;
            // Its values are rewritten outside the lock from here on.
            if (myLine < snapshot.h)
                rowKept[std::size_t(lineTable[myLine])] = 0;
            if (generation != coloringGeneration) {
                lineColoring = coloring;
                generation = coloringGeneration;
            }
        }
        if (myLine >= snapshot.h)
            break;
        const int r = lineTable[myLine];
        ComputedLine line = computeLine(snapshot, r);
        colorLine(lineColoring, snapshot.values->dwellRow(r), snapshot.values->normRow(r),
                  snapshot.w, float(escapeRadius), rgb.data());
        line.rgb = rgb.data();
        line.coloredWith = generation;
        if (!storeLine(snapshot, myLine, line))
            return;
    }
    // Let go of the pass's values before the wait, so that a pass started
    // meanwhile can reuse them instead of allocating and faulting in its own.
    snapshot.values.reset();
    snapshot.deep.reset();
    m_display.setNeedsDisplay(true);
    m_threads.sleep(1);
    m_display.setNeedsDisplay(true);
}

MyView::ComputedLine MyView::computeLine(const WorkerSnapshot &snapshot, int r)
{
    const int limit = max_dwells;
    int *const dwells = snapshot.values->dwellRow(r);
    float *const norms = snapshot.values->normRow(r);
    ComputedLine line{nullptr, 0, 0, 0, limit};
    if (snapshot.deep) {
        computeDeepLine(snapshot, r, limit, dwells, norms);
        line.iterations = lineIterations(dwells, snapshot.w, limit);
        // The kernel's own sum wraps at 32 bits.
        line.update_dwells = int(unsigned(line.iterations));
        return line;
    }
    line.update_dwells =
        mandelLine(originX, originY, escapeRadius, snapshot.x, snapshot.y - snapshot.step * r,
                   snapshot.step, limit, snapshot.w, dwells, norms);
    // The sum itself, unless a line this wide could wrap it.
    const bool wraps = (long long)snapshot.w * limit > (long long)UINT32_MAX;
    line.iterations =
        wraps ? lineIterations(dwells, snapshot.w, limit) : (long long)unsigned(line.update_dwells);
    return line;
}

bool MyView::storeLine(const WorkerSnapshot &snapshot, int myLine, const ComputedLine &computed)
{
    std::lock_guard lock(workLock);
    // A current pass guarantees that the image is still the snapshot's size.
    if (snapshot.working_sequence != comp_sequence)
        return false;
    // The totals wrap like the kernel's sums instead of overflowing.
    total_dwells = int(unsigned(total_dwells) + unsigned(computed.update_dwells));
    acc_dwells = int(unsigned(acc_dwells) + unsigned(computed.update_dwells));
    noteLineLimit(computed.limit);
    if (++lines_stored == height)
        passEnded = std::chrono::steady_clock::now();
    pass_iterations += computed.iterations;

    const int line = lineTable[myLine];
    const std::size_t rowBytes = std::size_t(3) * std::size_t(snapshot.w);
    std::copy_n(computed.rgb, rowBytes, bitmapData + rowBytes * std::size_t(line));
    keepLine(computed, line, snapshot.w);

    const NSRect updateRect{{0.0f, float(snapshot.h - line - 1)}, {float(snapshot.w), 1.0f}};
    m_display.setNeedsDisplayInRect(updateRect);
    return true;
}

void MyView::keepLine(const ComputedLine &computed, int row, int width)
{
    rowKept[std::size_t(row)] = 1;
    // The colouring changed while the line was computed.
    if (computed.coloredWith != coloringGeneration)
        recolorRow(row, width);
}

void MyView::recolorRow(int row, int width)
{
    colorLine(coloring, pixelValues->dwellRow(row), pixelValues->normRow(row), width,
              float(passScene.escapeRadius),
              bitmapData + 3 * std::size_t(row) * std::size_t(width));
}

void MyView::setColoring(const Coloring &newColoring)
{
    {
        std::lock_guard lock(workLock);
        coloring = newColoring;
        ++coloringGeneration;
        const int width = int(frame.size.width);
        for (int row = 0; row < height && myImage; ++row)
            if (rowKept[std::size_t(row)])
                recolorRow(row, width);
    }
    m_display.displayRect(frame);
}

Coloring MyView::currentColoring()
{
    std::lock_guard lock(workLock);
    return coloring;
}

void MyView::noteLineLimit(int limit)
{
    // The dwell menu changes the limit for lines not yet begun.
    if (lines_stored == 0)
        passScene.maxDwell = limit;
    else if (limit != passScene.maxDwell)
        passScene.mixedDwell = true;
}

} // namespace dwell
