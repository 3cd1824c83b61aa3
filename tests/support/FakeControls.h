#pragma once

#include "StaticControls.h"

using FakeMenu = StaticMenu;
using FakeSwitch = StaticSwitch;
using FakeSlider = StaticSlider;
