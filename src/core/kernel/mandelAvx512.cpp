// Built with -mavx512f; reached only when the CPU has it.
#include "mandelLanes.h"
#include "mandelWide.h"

#include <immintrin.h>

namespace dwell {

namespace {

struct Avx512Lanes {
    static constexpr int kWidth = 8;
    using Vec = __m512d;
    using Mask = __mmask8;

    static Vec broadcast(double value) { return _mm512_set1_pd(value); }

    // One iteration of every lane, in the reference's order of roundings.
    static Mask step(Vec &zr, Vec &zi, Vec cx, Vec y, Vec bound)
    {
        const Vec tmp1 = _mm512_mul_pd(zr, zr);
        const Vec tmp2 = _mm512_mul_pd(zi, zi);
        zi = _mm512_fmadd_pd(_mm512_add_pd(zr, zr), zi, y);
        zr = _mm512_add_pd(_mm512_sub_pd(tmp1, tmp2), cx);
        // Ordered: a NaN modulus never escapes.
        return _mm512_cmp_pd_mask(_mm512_add_pd(tmp1, tmp2), bound, _CMP_GT_OQ);
    }

    // The same for the live lanes alone, whose escapes it returns; the
    // others keep their iterates. The product in the fma is commuted, which
    // is exact.
    static Mask stepLive(Mask live, Vec &zr, Vec &zi, Vec cx, Vec y, Vec bound)
    {
        const Vec tmp1 = _mm512_mul_pd(zr, zr);
        const Vec tmp2 = _mm512_mul_pd(zi, zi);
        zi = _mm512_mask_fmadd_pd(zi, live, _mm512_add_pd(zr, zr), y);
        zr = _mm512_mask_add_pd(zr, live, _mm512_sub_pd(tmp1, tmp2), cx);
        return _mm512_mask_cmp_pd_mask(live, _mm512_add_pd(tmp1, tmp2), bound, _CMP_GT_OQ);
    }

    static Mask either(Mask a, Mask b) { return Mask(a | b); }
    static Mask both(Mask a, Mask b) { return Mask(a & b); }
    static Mask butNot(Mask a, Mask b) { return Mask(a & ~b); }
    // Ordered: a NaN equals nothing.
    static Mask equal(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ); }
    static Vec add(Vec a, Vec b) { return _mm512_add_pd(a, b); }
    static Vec sub(Vec a, Vec b) { return _mm512_sub_pd(a, b); }
    static Vec mul(Vec a, Vec b) { return _mm512_mul_pd(a, b); }
    static Vec div(Vec a, Vec b) { return _mm512_div_pd(a, b); }
    // Zero-masked, here and in max: the unmasked forms trip GCC 12's
    // uninitialized warning.
    static Vec sqrt(Vec a) { return _mm512_maskz_sqrt_pd(0xff, a); }
    static Vec abs(Vec a) { return _mm512_abs_pd(a); }
    // The larger; b where a is a NaN.
    static Vec max(Vec a, Vec b) { return _mm512_maskz_max_pd(0xff, a, b); }
    // Ordered: a NaN is within no bound.
    static Mask notGreater(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ); }
    // Ordered: nothing is less than a NaN.
    static Mask less(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
    static Vec blend(Mask m, Vec ifSet, Vec otherwise)
    {
        return _mm512_mask_mov_pd(otherwise, m, ifSet);
    }
    static bool none(Mask m) { return m == 0; }
    static unsigned bits(Mask m) { return m; }

    static Mask maskOf(unsigned laneBits) { return Mask(laneBits); }

    // Whole numbers as ints, truncated; |z|^2 as floats, rounded to nearest
    // like the conversion of a single double.
    static __m256i toInts(Vec v) { return _mm512_maskz_cvttpd_epi32(0xff, v); }
    static __m256 toFloats(Vec v) { return _mm512_maskz_cvtpd_ps(0xff, v); }
    static void storeValues(int *to, __m256i v) { _mm256_storeu_si256((__m256i *)to, v); }
    static void storeValues(float *to, __m256 v) { _mm256_storeu_ps(to, v); }
    static double sum(Vec v)
    {
        const __m256d quarter = _mm256_add_pd(_mm512_maskz_extractf64x4_pd(0xf, v, 0),
                                              _mm512_maskz_extractf64x4_pd(0xf, v, 1));
        const __m128d half =
            _mm_add_pd(_mm256_castpd256_pd128(quarter), _mm256_extractf128_pd(quarter, 1));
        return _mm_cvtsd_f64(_mm_add_sd(half, _mm_unpackhi_pd(half, half)));
    }

    static void store(double *lanes, Vec v) { _mm512_storeu_pd(lanes, v); }
    static Vec load(const double *lanes) { return _mm512_loadu_pd(lanes); }
};

} // namespace

// Five vectors in flight, one more than AVX2's: with 32 registers the fifth
// still fits, and its steps fill more of the gaps in the others' chains.
int mandelLineAvx512(double originX, double originY, double escape_radius, double x, double y,
                     double step, int maxdwell, int w, int *buf, float *norms)
{
    return wideLine<Avx512Lanes, 5>(originX, originY, escape_radius, x, y, step, maxdwell, w, buf,
                                    norms);
}

void mandelLinesAvx512(double originX, double originY, double escape_radius, double x,
                       const double *ys, int lines, double step, int maxdwell, int w, int *buf,
                       float *norms, int *sums)
{
    wideLines<Avx512Lanes, 5>(originX, originY, escape_radius, x, ys, lines, step, maxdwell, w, buf,
                              norms, sums);
}

} // namespace dwell
