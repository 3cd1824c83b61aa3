#pragma once

namespace dwell {

// The windowing system's geometry records: plain aggregates of 32-bit floats.
// View coordinates are unflipped: origin at the lower-left, y grows upwards.
struct NSPoint {
    float x;
    float y;
    friend bool operator==(const NSPoint &, const NSPoint &) = default;
};

struct NSSize {
    float width;
    float height;
    friend bool operator==(const NSSize &, const NSSize &) = default;
};

struct NSRect {
    NSPoint origin;
    NSSize size;
    friend bool operator==(const NSRect &, const NSRect &) = default;
};

// The smallest rectangle holding both, and the part they share (empty or
// inverted when they share nothing); both expect normalized rectangles.
NSRect unionRect(NSRect a, NSRect b);
NSRect intersectionRect(NSRect a, NSRect b);

} // namespace dwell
