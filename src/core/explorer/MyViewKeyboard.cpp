#include "MyView.h"

#include "Display.h"
#include "GraphicsContext.h"

#include <cstdio>

namespace dwell {

void MyView::keyDown()
{
    std::printf("keydown\n");
    m_display.lockFocus();
    GraphicsContext &currentContext = m_display.currentContext();
    currentContext.strokeLine({-100.0f, -100.0f}, {200.0f, 300.0f}, 20.0f);
    currentContext.flushGraphics();
    m_display.unlockFocus();
}

void MyView::keyUp() {}

void MyView::doReportButton(const void *)
{
    bool firstDrawn = false;
    for (int x = 0; x < height; ++x) {
        if (drawnTable[x])
            firstDrawn = true;
        else if (firstDrawn)
            std::printf("line %d not drawn!\n", x);
    }
}

} // namespace dwell
