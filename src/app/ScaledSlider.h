#pragma once

#include "Slider.h"

#include <QSlider>

namespace dwell {

// A QSlider's integer steps read as value / divisor.
class ScaledSlider : public Slider {
public:
    ScaledSlider(const QSlider &slider, int divisor) : m_slider(slider), m_divisor(divisor) {}
    float floatValue() const override { return float(m_slider.value()) / float(m_divisor); }

private:
    const QSlider &m_slider;
    const int m_divisor;
};

} // namespace dwell
