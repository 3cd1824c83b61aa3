#include "Coloring.h"

#include "ColoringWide.h"
#include "DwellColors.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <emmintrin.h>

namespace dwell {

namespace {

// log2 for a positive finite float, to about 1e-4: the exponent, and a
// cubic fit of log2 over the mantissa in [1, 2). A few operations, the same
// on every machine, where recolouring a picture calls it millions of times.
float fastLog2(float x)
{
    const auto bits = std::bit_cast<std::uint32_t>(x);
    const int exponent = int((bits >> 23) & 0xff) - 127;
    const float m = std::bit_cast<float>((bits & 0x7fffffu) | 0x3f800000u);
    const float fit =
        -1.7417939f + (2.8212026f + (-1.4699568f + (0.44717955f - 0.056570851f * m) * m) * m) * m;
    return float(exponent) + fit;
}

// What the norm adds to the dwell, given fastLog2(fastLog2(bound)); 0 where
// it gives nothing. Free of branches, so that a line's worth vectorises.
float fractionOf(float norm, float boundTerm, bool scaled)
{
    const bool usable = scaled & (norm > 1.0f) & (norm < 3.4e38f);
    const float safe = usable ? norm : 2.0f;
    return usable ? 2.0f - fastLog2(fastLog2(safe)) + boundTerm : 0.0f;
}

// Four fractions at once, by the same operations in the same order as
// fractionOf, so that they are the same to the bit; SSE2 is every x86-64's.
void fractionsOf4(const float *norms, float boundTerm, bool scaled, float *fractions)
{
    const auto log2x4 = [](__m128 x) {
        const __m128i bits = _mm_castps_si128(x);
        const __m128i exponent = _mm_sub_epi32(
            _mm_and_si128(_mm_srli_epi32(bits, 23), _mm_set1_epi32(0xff)), _mm_set1_epi32(127));
        const __m128 m = _mm_castsi128_ps(_mm_or_si128(
            _mm_and_si128(bits, _mm_set1_epi32(0x7fffff)), _mm_set1_epi32(0x3f800000)));
        __m128 fit = _mm_sub_ps(_mm_set1_ps(0.44717955f), _mm_mul_ps(_mm_set1_ps(0.056570851f), m));
        fit = _mm_mul_ps(_mm_add_ps(_mm_set1_ps(-1.4699568f), _mm_mul_ps(fit, m)), m);
        fit = _mm_mul_ps(_mm_add_ps(_mm_set1_ps(2.8212026f), fit), m);
        fit = _mm_add_ps(_mm_set1_ps(-1.7417939f), fit);
        return _mm_add_ps(_mm_cvtepi32_ps(exponent), fit);
    };
    const __m128 norm = _mm_loadu_ps(norms);
    __m128 usable =
        _mm_and_ps(_mm_cmpgt_ps(norm, _mm_set1_ps(1.0f)), _mm_cmplt_ps(norm, _mm_set1_ps(3.4e38f)));
    if (!scaled)
        usable = _mm_setzero_ps();
    const __m128 safe =
        _mm_or_ps(_mm_and_ps(usable, norm), _mm_andnot_ps(usable, _mm_set1_ps(2.0f)));
    const __m128 value =
        _mm_add_ps(_mm_sub_ps(_mm_set1_ps(2.0f), log2x4(log2x4(safe))), _mm_set1_ps(boundTerm));
    _mm_storeu_ps(fractions, _mm_and_ps(usable, value));
}

} // namespace

float continuousDwell(int dwell, float norm, float bound)
{
    const bool scaled = bound > 1.0f;
    // log2(ln norm / ln bound) = log2(log2 norm) - log2(log2 bound)
    return float(dwell) + fractionOf(norm, scaled ? fastLog2(fastLog2(bound)) : 0.0f, scaled);
}

void colorPaletteLineScalar(const PaletteLine &line, const int *dwells, const float *norms,
                            int count, std::uint8_t *pixels)
{
    // The fractions a chunk at a time in one loop, the colours in another.
    constexpr int kChunk = 256;
    float fractions[kChunk];
    for (int start = 0; start < count; start += kChunk) {
        const int n = count - start < kChunk ? count - start : kChunk;
        int i = 0;
        for (; i + 4 <= n; i += 4)
            fractionsOf4(norms + start + i, line.boundTerm, line.scaled, fractions + i);
        for (; i < n; ++i)
            fractions[i] = fractionOf(norms[start + i], line.boundTerm, line.scaled);
        for (int i = 0; i < n; ++i) {
            const int dwell = dwells[start + i];
            const std::uint8_t *rgb =
                dwell < 0
                    ? line.interior.data()
                    : line.palette->at(line.offset +
                                       line.turnsPerDwell * (double(dwell) + double(fractions[i])));
            std::uint8_t *pixel = pixels + 3 * (start + i);
            pixel[0] = rgb[0];
            pixel[1] = rgb[1];
            pixel[2] = rgb[2];
        }
    }
}

void colorLineWith(KernelPath path, const Coloring &coloring, const int *dwells, const float *norms,
                   int count, float bound, std::uint8_t *pixels)
{
    if (coloring.digits()) {
        storeDwellColorsWith(path, dwells, count, pixels);
        return;
    }
    const bool scaled = bound > 1.0f;
    const PaletteLine line{coloring.palette.get(),
                           coloring.offset,
                           coloring.density / 32.0,
                           coloring.interior,
                           scaled ? fastLog2(fastLog2(bound)) : 0.0f,
                           scaled};
    (colorsWithAvx2(path) ? colorPaletteLineAvx2 : colorPaletteLineScalar)(line, dwells, norms,
                                                                           count, pixels);
}

void colorLine(const Coloring &coloring, const int *dwells, const float *norms, int count,
               float bound, std::uint8_t *pixels)
{
    // Chosen once: workers colour every line through here.
    static const KernelPath path = activeKernelPath();
    colorLineWith(path, coloring, dwells, norms, count, bound, pixels);
}

} // namespace dwell
