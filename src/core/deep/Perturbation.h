#pragma once

#include "BilinearTable.h"
#include "ComplexOf.h"
#include "ReferenceOrbit.h"

#include <string>

namespace dwell {

// A deep picture's plane window: its centre as decimal text, exact to the
// last digit, and the distance between neighbouring pixels.
struct DeepWindow {
    std::string centerX;
    std::string centerY;
    ExtendedFloat step;
    int width = 0;
    int height = 0;

    // Pixel (column, line) stands for centre + ((column - width/2), (height/2 - line)) * step.
    ExtendedComplex offset(int column, int line) const;
    // The largest |offset| of the window's pixels.
    ExtendedFloat maxOffset() const;
};

// Dwells of a picture's pixels by perturbation of one reference orbit, with
// the plain kernel's definition: the index of the first iterate whose squared
// modulus exceeds the bound, -1 when none below maxDwell does. A pixel
// restarts against the reference's start (rebasing) whenever its own value
// comes closer to that start than to the reference, or the reference runs
// out, so one reference serves every pixel. Differences are plain doubles
// wherever the reference and the window fit them, extended floats beyond.
class Perturbation {
public:
    enum class Shortcuts { None, Bilinear };

    // The table for bilinear steps is built here, from the window's largest offset.
    Perturbation(const ReferenceOrbit &orbit, const DeepWindow &window, double escapeRadius,
                 Shortcuts shortcuts = Shortcuts::Bilinear);

    // With norm, |z|^2 one step past the escape (0 when bounded), as the
    // plain kernel gives it.
    int dwell(const ExtendedComplex &dc, int maxDwell, double *norm = nullptr) const;
    // The bilinear table's size.
    std::size_t tableBytes() const { return m_doubleTable.bytes() + m_extendedTable.bytes(); }

private:
    const ReferenceOrbit &m_orbit;
    double m_escapeRadius;
    bool m_inDoubles;
    BilinearTable<DoubleComplex, double> m_doubleTable;
    BilinearTable<ExtendedComplex, ExtendedFloat> m_extendedTable;
};

} // namespace dwell
