#include "TestExplorer.h"

#include "DwellColor.h"
#include "mandel.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Runs the kernel over every line, handing each line's dwells to take.
template <typename Take> long long eachKernelLine(const Scene &scene, int w, int h, Take take)
{
    const PlaneWindow &plane = scene.window;
    std::vector<int> dwells(std::size_t(std::max(w, 0)) + 1);
    long long total = 0;
    for (int r = 0; r < h; ++r) {
        total += mandelLine(scene.originX, scene.originY, scene.escapeRadius, plane.viewX,
                            plane.viewY - plane.viewStep * r, plane.viewStep, scene.maxDwell, w,
                            dwells.data());
        take(r, dwells);
    }
    return total;
}

} // namespace

long long kernelTotal(const Scene &scene, int w, int h)
{
    return eachKernelLine(scene, w, h, [](int, const std::vector<int> &) {});
}

std::vector<std::uint8_t> kernelPixels(const Scene &scene, int w, int h)
{
    std::vector<std::uint8_t> pixels(std::size_t(w) * std::size_t(h) * 3);
    eachKernelLine(scene, w, h, [&](int r, const std::vector<int> &dwells) {
        for (int c = 0; c < w; ++c)
            storeDwellColor(dwells[std::size_t(c)], &pixels[(std::size_t(r) * w + c) * 3]);
    });
    return pixels;
}

TestExplorer::TestExplorer(float width, float height, std::string threadTitle,
                           std::string dwellTitle)
    : threadMenu(std::move(threadTitle)), dwellMenu(std::move(dwellTitle)), view(display, threads)
{
    display.setBounds({{0, 0}, {width, height}});
    display.attach(view);
    view.window = &display;
    view.connectOutlets({&threadMenu, &dwellMenu, &randomizerSwitch, &originSwitch, &clearSwitch,
                         &escapeRadiusSlider});
}

TestExplorer::~TestExplorer()
{
    // Workers hold a reference to the view: it must outlive them.
    if (!waitForWorkers())
        std::abort();
}

bool TestExplorer::finishPass()
{
    const bool ended = waitForWorkers();
    display.runPendingDisplays();
    return ended;
}

std::vector<std::uint8_t> TestExplorer::expectedPicture() const
{
    return kernelPixels(view.scene(), int(view.frame.size.width), int(view.frame.size.height));
}

long long TestExplorer::expectedTotal() const
{
    return kernelTotal(view.scene(), int(view.frame.size.width), view.height);
}

std::vector<std::uint8_t> TestExplorer::picture() const
{
    if (!view.myImage)
        return {};
    const auto *data = view.myImage->bitmapData();
    return {data, data + view.myImage->byteCount()};
}
