#include "DwellColors.h"

#include "DwellColor.h"
#include "DwellColorsWide.h"

void storeDwellColorsScalar(const int *dwells, int count, std::uint8_t *pixels)
{
    for (int i = 0; i < count; ++i)
        storeDwellColor(dwells[i], pixels + 3 * i);
}

void storeDwellColors(const int *dwells, int count, std::uint8_t *pixels)
{
    static const KernelPath path = activeKernelPath();
    storeDwellColorsWith(path, dwells, count, pixels);
}

void storeDwellColorsWith(KernelPath path, const int *dwells, int count, std::uint8_t *pixels)
{
    // Every wide kernel's CPU has AVX2; a forced scalar kernel colours in scalar too.
    if (isAvailable(path) && path != KernelPath::Scalar && isAvailable(KernelPath::Avx2))
        storeDwellColorsAvx2(dwells, count, pixels);
    else
        storeDwellColorsScalar(dwells, count, pixels);
}
