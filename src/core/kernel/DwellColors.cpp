#include "DwellColors.h"

#include "DwellColor.h"
#include "DwellColorsWide.h"

namespace dwell {

namespace {

using LineColors = void (*)(const int *, int, std::uint8_t *);

LineColors colorsOf(KernelPath path)
{
    return colorsWithAvx2(path) ? storeDwellColorsAvx2 : storeDwellColorsScalar;
}

} // namespace

bool colorsWithAvx2(KernelPath path)
{
    return isAvailable(path) && path != KernelPath::Scalar && isAvailable(KernelPath::Avx2);
}

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
