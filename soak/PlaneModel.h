#pragma once

#include "Geometry.h"
#include "PlaneWindow.h"

#include <optional>
#include <utility>

namespace dwell {

// How the view's gestures and buttons move the plane window, worked out
// independently of the explorer with the same float and double roundings.
// Points are Qt pixels of a view of the given size.
class PlaneModel {
public:
    PlaneModel(int width, int height) : m_width(float(width)), m_height(float(height)) {}

    PlaneWindow reset() const;
    PlaneWindow zoomOut(const PlaneWindow &old) const;
    // The same centre in a view resized to width x height.
    PlaneWindow resized(const PlaneWindow &old, int width, int height) const;

    // The view's own point for the pixel (x, y): unflipped, from the lower left.
    NSPoint viewPoint(int x, int y) const { return {float(x), m_height - float(y)}; }
    // The plane point under a view point.
    std::pair<double, double> planePoint(const PlaneWindow &old, NSPoint at) const;
    // That point to the centre, twice as close.
    PlaneWindow clickZoom(const PlaneWindow &old, NSPoint at) const;

    // The selection, in view coordinates, that a drag pressed at (x, y) and
    // last moved to (toX, toY) releases; none when it is too small to count.
    std::optional<NSRect> selection(int x, int y, int toX, int toY) const;
    // The plane point of a selection's upper-left corner.
    std::pair<double, double> selectionCorner(const PlaneWindow &old, NSRect selection) const;
    PlaneWindow selectionZoom(const PlaneWindow &old, NSRect selection) const;

private:
    static constexpr double kSmallestSide = 12.0;

    NSRect dragRect(NSPoint press, NSPoint to) const;
    NSRect clipToView(NSRect rect) const;

    float m_width;
    float m_height;
};

} // namespace dwell
