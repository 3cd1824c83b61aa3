#pragma once

class Slider {
public:
    virtual ~Slider() = default;
    virtual float floatValue() const = 0;
};
