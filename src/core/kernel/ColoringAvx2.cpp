// Built with -mavx2; reached only when the CPU has it.
#include "ColoringWide.h"

#include <immintrin.h>

namespace dwell {

namespace {

// fastLog2 of eight floats, by its operations in its order.
__m256 log2x8(__m256 x)
{
    const __m256i bits = _mm256_castps_si256(x);
    const __m256i exponent =
        _mm256_sub_epi32(_mm256_and_si256(_mm256_srli_epi32(bits, 23), _mm256_set1_epi32(0xff)),
                         _mm256_set1_epi32(127));
    const __m256 m = _mm256_castsi256_ps(_mm256_or_si256(
        _mm256_and_si256(bits, _mm256_set1_epi32(0x7fffff)), _mm256_set1_epi32(0x3f800000)));
    __m256 fit =
        _mm256_sub_ps(_mm256_set1_ps(0.44717955f), _mm256_mul_ps(_mm256_set1_ps(0.056570851f), m));
    fit = _mm256_mul_ps(_mm256_add_ps(_mm256_set1_ps(-1.4699568f), _mm256_mul_ps(fit, m)), m);
    fit = _mm256_mul_ps(_mm256_add_ps(_mm256_set1_ps(2.8212026f), fit), m);
    fit = _mm256_add_ps(_mm256_set1_ps(-1.7417939f), fit);
    return _mm256_add_ps(_mm256_cvtepi32_ps(exponent), fit);
}

__m256 fractionsOf8(__m256 norm, const PaletteLine &line)
{
    __m256 usable = _mm256_and_ps(_mm256_cmp_ps(norm, _mm256_set1_ps(1.0f), _CMP_GT_OQ),
                                  _mm256_cmp_ps(norm, _mm256_set1_ps(3.4e38f), _CMP_LT_OQ));
    if (!line.scaled)
        usable = _mm256_setzero_ps();
    const __m256 safe = _mm256_blendv_ps(_mm256_set1_ps(2.0f), norm, usable);
    const __m256 value = _mm256_add_ps(_mm256_sub_ps(_mm256_set1_ps(2.0f), log2x8(log2x8(safe))),
                                       _mm256_set1_ps(line.boundTerm));
    return _mm256_and_ps(usable, value);
}

// Palette entries of four positions, as Palette::at finds them.
__m128i entriesOf4(__m128i dwell, __m128 fraction, const PaletteLine &line)
{
    const __m256d position = _mm256_add_pd(
        _mm256_set1_pd(line.offset),
        _mm256_mul_pd(_mm256_set1_pd(line.turnsPerDwell),
                      _mm256_add_pd(_mm256_cvtepi32_pd(dwell), _mm256_cvtps_pd(fraction))));
    const __m256d inRange =
        _mm256_and_pd(_mm256_cmp_pd(position, _mm256_set1_pd(-1e15), _CMP_GT_OQ),
                      _mm256_cmp_pd(position, _mm256_set1_pd(1e15), _CMP_LT_OQ));
    __m256d wrapped =
        _mm256_sub_pd(position, _mm256_round_pd(position, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC));
    wrapped = _mm256_add_pd(wrapped,
                            _mm256_and_pd(_mm256_cmp_pd(wrapped, _mm256_setzero_pd(), _CMP_LT_OQ),
                                          _mm256_set1_pd(1.0)));
    // Out of range (or not a number): 0, the first entry.
    const __m128i index = _mm256_cvttpd_epi32(
        _mm256_and_pd(inRange, _mm256_mul_pd(wrapped, _mm256_set1_pd(Palette::kEntries))));
    return _mm_min_epi32(index, _mm_set1_epi32(Palette::kEntries - 1));
}

} // namespace

void colorPaletteLineAvx2(const PaletteLine &line, const int *dwells, const float *norms, int count,
                          std::uint8_t *pixels)
{
    const int *table = reinterpret_cast<const int *>(line.palette->packedTable());
    const int interior = line.interior[0] | line.interior[1] << 8 | line.interior[2] << 16;
    // The 3 colour bytes of each 32-bit entry, four entries to twelve bytes.
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0,
                                          1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int i = 0;
    // Each group stores 28 bytes for its 24: the next group's overwrite the
    // rest, and a group goes this way only while ten pixels (30 bytes) are left.
    for (; i + 10 <= count; i += 8) {
        const __m256i dwell = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(dwells + i));
        const __m256 fraction = fractionsOf8(_mm256_loadu_ps(norms + i), line);
        const __m256i index = _mm256_set_m128i(
            entriesOf4(_mm256_extracti128_si256(dwell, 1), _mm256_extractf128_ps(fraction, 1),
                       line),
            entriesOf4(_mm256_castsi256_si128(dwell), _mm256_castps256_ps128(fraction), line));
        __m256i rgb = _mm256_i32gather_epi32(table, index, 4);
        rgb = _mm256_blendv_epi8(rgb, _mm256_set1_epi32(interior),
                                 _mm256_cmpgt_epi32(_mm256_setzero_si256(), dwell));
        rgb = _mm256_shuffle_epi8(rgb, pack);
        std::uint8_t *out = pixels + 3 * i;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm256_castsi256_si128(rgb));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 12), _mm256_extracti128_si256(rgb, 1));
    }
    colorPaletteLineScalar(line, dwells + i, norms + i, count - i, pixels + 3 * i);
}

} // namespace dwell
