#pragma once

namespace dwell {

class Slider {
public:
    virtual ~Slider() = default;
    virtual float floatValue() const = 0;
};

} // namespace dwell
