#pragma once

namespace dwell {

// A colour with components from 0 to 1.
struct RGBAColor {
    float red;
    float green;
    float blue;
    float alpha;

    RGBAColor withAlphaComponent(float newAlpha) const { return {red, green, blue, newAlpha}; }
    friend bool operator==(const RGBAColor &, const RGBAColor &) = default;
};

} // namespace dwell
