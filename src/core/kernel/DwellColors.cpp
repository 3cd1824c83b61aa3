#include "DwellColors.h"

#include "DwellColor.h"
#include "DwellColorsWide.h"

namespace dwell {

namespace {

using LineColors = void (*)(const int *, int, std::uint8_t *);

// Every wide kernel's CPU has AVX2; a forced scalar kernel colours in scalar too.
LineColors colorsOf(KernelPath path)
{
    const bool wide =
        isAvailable(path) && path != KernelPath::Scalar && isAvailable(KernelPath::Avx2);
    return wide ? storeDwellColorsAvx2 : storeDwellColorsScalar;
}

} // namespace

void storeDwellColorsScalar(const int *dwells, int count, std::uint8_t *pixels)
{
    for (int i = 0; i < count; ++i)
        storeDwellColor(dwells[i], pixels + 3 * i);
}

void storeDwellColors(const int *dwells, int count, std::uint8_t *pixels)
{
    // Chosen once: workers colour every line through here.
    static const LineColors colours = colorsOf(activeKernelPath());
    colours(dwells, count, pixels);
}

void storeDwellColorsWith(KernelPath path, const int *dwells, int count, std::uint8_t *pixels)
{
    colorsOf(path)(dwells, count, pixels);
}

} // namespace dwell
