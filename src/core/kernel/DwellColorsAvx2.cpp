// Built with -mavx2; reached only when the CPU has it. Shared inline code
// stays out of this file, so no AVX2 copy of it can serve other callers.
#include "DwellColorsWide.h"

#include <immintrin.h>

namespace dwell {

namespace {

constexpr int kLanes = 8;

// Each lane's pixel as 0x00bbggrr: the dwell's three low hexadecimal
// digits, each moved to the high half of its byte.
__m256i pixelWords(__m256i dwells)
{
    const __m256i digit = _mm256_set1_epi32(0xf0);
    const __m256i red = _mm256_and_si256(_mm256_slli_epi32(dwells, 4), digit);
    const __m256i green = _mm256_slli_epi32(_mm256_and_si256(dwells, digit), 8);
    const __m256i blue =
        _mm256_slli_epi32(_mm256_and_si256(_mm256_srli_epi32(dwells, 4), digit), 16);
    return _mm256_or_si256(_mm256_or_si256(red, green), blue);
}

} // namespace

void storeDwellColorsAvx2(const int *dwells, int count, std::uint8_t *pixels)
{
    // Drops every fourth byte, leaving twelve pixel bytes at each half's start.
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0,
                                          1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i bounded = _mm256_set1_epi32(-1);
    int i = 0;
    // Each half is stored as 16 bytes of which 12 count: stop while the
    // last store still ends inside the line.
    for (; i + kLanes + 2 <= count; i += kLanes) {
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(dwells + i));
        const __m256i black = _mm256_cmpeq_epi32(d, bounded);
        const __m256i negative = _mm256_cmpgt_epi32(_mm256_setzero_si256(), d);
        if (!_mm256_testc_si256(black, negative)) {
            // Dwells below -1 never come from the kernel; the scalar rule has them.
            storeDwellColorsScalar(dwells + i, kLanes, pixels + 3 * i);
            continue;
        }
        const __m256i packed = _mm256_shuffle_epi8(_mm256_andnot_si256(black, pixelWords(d)), pack);
        std::uint8_t *out = pixels + 3 * i;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm256_castsi256_si128(packed));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 12),
                         _mm256_extracti128_si256(packed, 1));
    }
    storeDwellColorsScalar(dwells + i, count - i, pixels + 3 * i);
}

} // namespace dwell
