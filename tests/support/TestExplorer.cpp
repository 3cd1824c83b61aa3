#include "TestExplorer.h"

#include "KernelOracle.h"

#include <cstdlib>

namespace dwell {

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

} // namespace dwell
