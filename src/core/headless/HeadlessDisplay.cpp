#include "HeadlessDisplay.h"

#include "MyView.h"

namespace dwell {

void HeadlessDisplay::displayRect(NSRect rect)
{
    if (m_view)
        m_view->drawRect(rect);
}

} // namespace dwell
