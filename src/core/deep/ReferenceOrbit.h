#pragma once

#include "ComplexOf.h"

#include <functional>
#include <string>
#include <vector>

namespace dwell {

// Where a deep picture's reference orbit starts and how far it runs.
struct ReferencePoint {
    std::string centerX;
    std::string centerY;
    double originX = 0.0;
    double originY = 0.0;
    double escapeRadius = 4.0;
    int maxDwell = 1000;
    // Binary digits for the orbit: enough to tell the picture's pixels apart, and more.
    long precision = 128;
    // The distance between pixels; 0 for an orbit that only stops at escape or the limit.
    ExtendedFloat step;
};

// The orbit Z(0) = origin, Z(n + 1) = Z(n)^2 + C of the picture's centre C,
// computed with MPFR and kept rounded to extended floats. It stops one step
// past its escape, at the dwell limit, or where it returns to the origin
// far closer than the pixels' orbits are to each other.
class ReferenceOrbit {
public:
    // Empty when the centre is not a number, or when cancelled (asked every
    // few thousand iterations, with the number done) says to stop.
    static ReferenceOrbit compute(const ReferencePoint &point,
                                  const std::function<bool(long long)> &cancelled = {});

    bool empty() const { return m_orbit.empty(); }
    std::size_t size() const { return m_orbit.size(); }
    const std::vector<ExtendedComplex> &extended() const { return m_orbit; }
    // The same orbit as plain doubles, and whether every part is one without
    // loss of range: zero, or a normal double far from its limits.
    const std::vector<DoubleComplex> &doubles() const { return m_doubles; }
    bool fitsDoubles() const { return m_fitsDoubles; }
    std::size_t bytes() const
    {
        return m_orbit.size() * sizeof(ExtendedComplex) + m_doubles.size() * sizeof(DoubleComplex);
    }

private:
    void append(const ExtendedComplex &z);

    std::vector<ExtendedComplex> m_orbit;
    std::vector<DoubleComplex> m_doubles;
    bool m_fitsDoubles = true;
};

// True when the value is zero or a normal double with room to spare.
bool fitsDouble(const ExtendedFloat &value);

// The binary digits a reference needs for a picture whose pixels are step apart.
long referencePrecision(const ExtendedFloat &step);

} // namespace dwell
