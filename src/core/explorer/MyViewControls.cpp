#include "MyView.h"

#include "ControlValues.h"

namespace dwell {

void MyView::doThreadMenu(const PopUpMenu *sender)
{
    num_threads = leadingNumber(sender ? sender : threadMenu);
}

void MyView::doDwellMenu(const PopUpMenu *sender)
{
    max_dwells = leadingNumber(sender ? sender : dwellMenu);
}

void MyView::doResetOriginButton(const void *sender)
{
    originX = 0.0;
    originY = 0.0;
    startButton(sender);
}

void MyView::resetButton(const void *sender)
{
    {
        std::lock_guard lock(workLock);
        rememberWindow();
        viewX = -2.5;
        // An empty view would make the step infinite; give it the step of a one-pixel view.
        const double width = frame.size.width > 0 ? double(frame.size.width) : 1.0;
        viewStep = 4.0 / width;
        viewY = (double(frame.size.height) * viewStep) * 0.5;
        exactWindow = ExactWindow::of(planeWindow());
    }
    startButton(sender);
}

} // namespace dwell
