#include "MyView.h"

#include "ControlValues.h"
#include "DeepPass.h"
#include "Display.h"
#include "ThreadLauncher.h"

#include <algorithm>
#include <cstdlib>

namespace dwell {

void MyView::prepareValues()
{
    const int w = std::max(0, int(frame.size.width));
    const int h = std::max(0, int(frame.size.height));
    // Workers of earlier passes may still write into the values they hold:
    // the new pass gets its own unless nobody else holds them.
    if (pixelValues && pixelValues.use_count() == 1 && pixelValues->width == w &&
        pixelValues->height == h)
        return;
    pixelValues = std::make_shared<PixelValues>(w, h);
    std::fill(rowKept.begin(), rowKept.end(), 0);
}

void MyView::startButton(const void *)
{
    int currentSequence;
    {
        std::lock_guard lock(workLock);
        ++comp_sequence;
        lastLine = 0;
        total_dwells = 0;
        acc_dwells = 0;
        lines_stored = 0;
        pass_iterations = 0;
        passStarted = std::chrono::steady_clock::now();
        passEnded = passStarted;
        escapeRadius = double(floatValueOf(escapeRadiusSlider));
        currentSequence = comp_sequence;
        passScene = scene();
        passFailed = false;
        prepareValues();
        deepPass.reset();
        if (passScene.deep())
            deepPass = std::make_shared<DeepPass>(
                DeepWindow{passScene.exactCenterX, passScene.exactCenterY, exactWindow.step,
                           int(frame.size.width), int(frame.size.height)},
                originX, originY, escapeRadius, max_dwells);
    }
    // Workers of the old pass check the pass number before every write, so
    // the buffer and the tables are ours until the new workers start.
    if (isOn(clearSwitch) && myImage) {
        std::fill_n(bitmapData, myImage->byteCount(), std::uint8_t(0xff));
        std::fill(rowKept.begin(), rowKept.end(), 0);
    }
    m_display.displayRect(frame);
    // That drawing may have found the view resized and started a pass of its
    // own, whose workers already run on the schedule: leave it to them.
    if (passSuperseded(currentSequence))
        return;
    prepareSchedule();
    int started = 0;
    for (int x = 0; x < num_threads; ++x)
        started +=
            m_threads.detachNewThread([this, currentSequence] { threadMain(currentSequence); });
    if (num_threads > 0 && started == 0)
        noteFailedStart(currentSequence);
}

void MyView::noteFailedStart(int sequence)
{
    std::lock_guard lock(workLock);
    if (sequence == comp_sequence)
        passFailed = true;
}

bool MyView::passSuperseded(int sequence)
{
    std::lock_guard lock(workLock);
    return sequence != comp_sequence;
}

void MyView::prepareSchedule()
{
    for (int x = 0; x < height; ++x)
        drawnTable[x] = 0;
    for (int x = 0; x < height; ++x)
        lineTable[x] = x;
    if (!isOn(randomizerSwitch))
        return;
    // Unseeded rand, so the order is the same after every launch.
    for (int x = 0; x < height; ++x) {
        const int randIndex = std::rand() % height;
        const int tmp = lineTable[x];
        lineTable[x] = lineTable[randIndex];
        lineTable[randIndex] = tmp;
    }
}

} // namespace dwell
