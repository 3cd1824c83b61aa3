#include "HeadlessDisplay.h"

#include "MyView.h"

void HeadlessDisplay::displayRect(NSRect rect)
{
    if (m_view)
        m_view->drawRect(rect);
}
