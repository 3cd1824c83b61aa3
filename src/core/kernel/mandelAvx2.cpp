// Built with -mavx2 -mfma; reached only when the CPU has both.
#include "mandelLanes.h"
#include "mandelWide.h"

#include <immintrin.h>

namespace dwell {

namespace {

// Every mask of four lanes, all bits set in the lanes of its index's bits.
struct MaskRows {
    alignas(32) double rows[16][4];
    constexpr MaskRows() : rows{}
    {
        for (unsigned bits = 0; bits < 16; ++bits)
            for (unsigned lane = 0; lane < 4; ++lane)
                rows[bits][lane] = (bits >> lane) & 1u ? __builtin_bit_cast(double, ~0ull) : 0.0;
    }
};
constexpr MaskRows kMaskRows{};

struct Avx2Lanes {
    static constexpr int kWidth = 4;
    using Vec = __m256d;
    using Mask = __m256d;

    static Vec broadcast(double value) { return _mm256_set1_pd(value); }

    // One iteration of every lane, in the reference's order of roundings.
    static Mask step(Vec &zr, Vec &zi, Vec cx, Vec y, Vec bound)
    {
        const Vec tmp1 = _mm256_mul_pd(zr, zr);
        const Vec tmp2 = _mm256_mul_pd(zi, zi);
        zi = _mm256_fmadd_pd(_mm256_add_pd(zr, zr), zi, y);
        zr = _mm256_add_pd(_mm256_sub_pd(tmp1, tmp2), cx);
        // Ordered: a NaN modulus never escapes.
        return _mm256_cmp_pd(_mm256_add_pd(tmp1, tmp2), bound, _CMP_GT_OQ);
    }

    // The same for the live lanes alone, whose escapes it returns; the
    // others keep their iterates.
    static Mask stepLive(Mask live, Vec &zr, Vec &zi, Vec cx, Vec y, Vec bound)
    {
        Vec r = zr, i = zi;
        const Mask escaped = step(r, i, cx, y, bound);
        zr = _mm256_blendv_pd(zr, r, live);
        zi = _mm256_blendv_pd(zi, i, live);
        return _mm256_and_pd(escaped, live);
    }

    static Mask either(Mask a, Mask b) { return _mm256_or_pd(a, b); }
    static Mask both(Mask a, Mask b) { return _mm256_and_pd(a, b); }
    static Mask butNot(Mask a, Mask b) { return _mm256_andnot_pd(b, a); }
    // Ordered: a NaN equals nothing.
    static Mask equal(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
    static Vec add(Vec a, Vec b) { return _mm256_add_pd(a, b); }
    static Vec sub(Vec a, Vec b) { return _mm256_sub_pd(a, b); }
    static Vec mul(Vec a, Vec b) { return _mm256_mul_pd(a, b); }
    static Vec div(Vec a, Vec b) { return _mm256_div_pd(a, b); }
    static Vec sqrt(Vec a) { return _mm256_sqrt_pd(a); }
    static Vec abs(Vec a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    // The larger; b where a is a NaN.
    static Vec max(Vec a, Vec b) { return _mm256_max_pd(a, b); }
    // Ordered: a NaN is within no bound.
    static Mask notGreater(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
    // Ordered: nothing is less than a NaN.
    static Mask less(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static Vec blend(Mask m, Vec ifSet, Vec otherwise)
    {
        return _mm256_blendv_pd(otherwise, ifSet, m);
    }
    static bool none(Mask m) { return _mm256_testz_pd(m, m) != 0; }
    static unsigned bits(Mask m) { return unsigned(_mm256_movemask_pd(m)); }

    // One load: lanes are set and refilled one at a time, often.
    static Mask maskOf(unsigned laneBits) { return _mm256_load_pd(kMaskRows.rows[laneBits & 15]); }

    // Whole numbers as ints, truncated; |z|^2 as floats, rounded to nearest
    // like the conversion of a single double.
    static __m128i toInts(Vec v) { return _mm256_cvttpd_epi32(v); }
    static __m128 toFloats(Vec v) { return _mm256_cvtpd_ps(v); }
    static void storeValues(int *to, __m128i v) { _mm_storeu_si128((__m128i *)to, v); }
    static void storeValues(float *to, __m128 v) { _mm_storeu_ps(to, v); }
    static double sum(Vec v)
    {
        const __m128d half = _mm_add_pd(_mm256_castpd256_pd128(v), _mm256_extractf128_pd(v, 1));
        return _mm_cvtsd_f64(_mm_add_sd(half, _mm_unpackhi_pd(half, half)));
    }

    static void store(double *lanes, Vec v) { _mm256_storeu_pd(lanes, v); }
    static Vec load(const double *lanes) { return _mm256_loadu_pd(lanes); }
};

} // namespace

int mandelLineAvx2(double originX, double originY, double escape_radius, double x, double y,
                   double step, int maxdwell, int w, int *buf, float *norms)
{
    return wideLine<Avx2Lanes, 4>(originX, originY, escape_radius, x, y, step, maxdwell, w, buf,
                                  norms);
}

void mandelLinesAvx2(double originX, double originY, double escape_radius, double x,
                     const double *ys, int lines, double step, int maxdwell, int w, int *buf,
                     float *norms, int *sums)
{
    wideLines<Avx2Lanes, 4>(originX, originY, escape_radius, x, ys, lines, step, maxdwell, w, buf,
                            norms, sums);
}

} // namespace dwell
