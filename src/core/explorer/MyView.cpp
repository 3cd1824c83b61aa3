#include "MyView.h"

#include "ControlValues.h"
#include "Display.h"
#include "Window.h"

namespace dwell {

MyView::MyView(Display &display, ThreadLauncher &threads) : m_display(display), m_threads(threads)
{
}

void MyView::connectOutlets(const ExplorerOutlets &outlets)
{
    threadMenu = outlets.threadMenu;
    dwellMenu = outlets.dwellMenu;
    randomizerSwitch = outlets.randomizerSwitch;
    originSwitch = outlets.originSwitch;
    clearSwitch = outlets.clearSwitch;
    escapeRadiusSlider = outlets.escapeRadiusSlider;
}

void MyView::applicationDidFinishLaunching()
{
    if (!window)
        window = m_display.window();
    // Showing the window draws the view once, which records frame and creates the image.
    window->makeKeyAndOrderFront();
    window->setInitialFirstResponder(*this);
    num_threads = leadingNumber(threadMenu);
    max_dwells = leadingNumber(dwellMenu);
    lastLine = 0;
    height = int(frame.size.height);
    comp_sequence = 0;
    originX = 0.0;
    originY = 0.0;
    isSelecting = false;
    isDragging = false;
    resetButton(nullptr);
}

} // namespace dwell
