#pragma once

#include "PopUpMenu.h"
#include "Slider.h"
#include "Switch.h"

#include <climits>
#include <cstdlib>

namespace dwell {

// The leading decimal number of a menu title, as atoi reads it ("8 threads"
// gives 8, "none" gives 0), saturated instead of overflowing.
inline int leadingNumber(const PopUpMenu *menu)
{
    if (!menu)
        return 0;
    const long value = std::strtol(menu->titleOfSelectedItem().c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

inline bool isOn(const Switch *control)
{
    return control && control->state() == 1;
}

inline float floatValueOf(const Slider *slider)
{
    return slider ? slider->floatValue() : 0.0f;
}

} // namespace dwell
