#include "TestExplorer.h"

#include "DwellColor.h"
#include "mandel.h"

#include <cstdlib>

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
    const int w = int(view.frame.size.width);
    const int h = int(view.frame.size.height);
    std::vector<std::uint8_t> pixels(std::size_t(w) * h * 3);
    std::vector<int> dwells(std::size_t(w) + 1);
    for (int r = 0; r < h; ++r) {
        mandelLine(view.originX, view.originY, view.escapeRadius, view.viewX,
                   view.viewY - view.viewStep * r, view.viewStep, view.max_dwells, w,
                   dwells.data());
        for (int c = 0; c < w; ++c)
            storeDwellColor(dwells[c], &pixels[(std::size_t(r) * w + c) * 3]);
    }
    return pixels;
}

std::vector<std::uint8_t> TestExplorer::picture() const
{
    if (!view.myImage)
        return {};
    const auto *data = view.myImage->bitmapData();
    return {data, data + view.myImage->byteCount()};
}
