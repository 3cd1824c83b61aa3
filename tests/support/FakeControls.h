#pragma once

#include "StaticControls.h"

namespace dwell {

using FakeMenu = StaticMenu;
using FakeSwitch = StaticSwitch;
using FakeSlider = StaticSlider;

} // namespace dwell
