#include "KernelOracle.h"

#include "BigFloat.h"
#include "DwellColor.h"
#include "mandel.h"

#include <algorithm>

namespace dwell {

std::vector<int> kernelLine(const Scene &scene, int line, int w)
{
    const PlaneWindow &plane = scene.window;
    // One slot more than the width, so a write past the line lands in ours.
    std::vector<int> dwells(std::size_t(std::max(w, 0)) + 1);
    mandelLine(scene.originX, scene.originY, scene.escapeRadius, plane.viewX,
               plane.viewY - plane.viewStep * line, plane.viewStep, scene.maxDwell, w,
               dwells.data());
    dwells.resize(std::size_t(std::max(w, 0)));
    return dwells;
}

long long kernelTotal(const Scene &scene, int w, int h)
{
    // From the dwells, in 64 bits: a line's own sum may wrap.
    long long total = 0;
    for (int r = 0; r < h; ++r)
        for (const int dwell : kernelLine(scene, r, w))
            total += dwell < 0 ? scene.maxDwell : dwell;
    return total;
}

std::vector<std::uint8_t> kernelPixels(const Scene &scene, int w, int h)
{
    std::vector<std::uint8_t> pixels(std::size_t(w) * std::size_t(h) * 3);
    for (int r = 0; r < h; ++r) {
        const std::vector<int> dwells = kernelLine(scene, r, w);
        for (int c = 0; c < w; ++c)
            storeDwellColor(dwells[std::size_t(c)], &pixels[(std::size_t(r) * w + c) * 3]);
    }
    return pixels;
}

int mpfrDwell(const BigFloat &cr, const BigFloat &ci, int limit)
{
    const mpfr_prec_t bits = mpfr_get_prec(cr.get());
    BigFloat zr(bits), zi(bits), zr2(bits), zi2(bits), t(bits);
    mpfr_set_zero(zr.get(), 1);
    mpfr_set_zero(zi.get(), 1);
    for (int n = 0; n < limit; ++n) {
        mpfr_sqr(zr2.get(), zr.get(), MPFR_RNDN);
        mpfr_sqr(zi2.get(), zi.get(), MPFR_RNDN);
        mpfr_add(t.get(), zr2.get(), zi2.get(), MPFR_RNDN);
        if (mpfr_cmp_d(t.get(), 4.0) > 0)
            return n;
        mpfr_mul(zi.get(), zi.get(), zr.get(), MPFR_RNDN);
        mpfr_mul_2ui(zi.get(), zi.get(), 1, MPFR_RNDN);
        mpfr_add(zi.get(), zi.get(), ci.get(), MPFR_RNDN);
        mpfr_sub(zr.get(), zr2.get(), zi2.get(), MPFR_RNDN);
        mpfr_add(zr.get(), zr.get(), cr.get(), MPFR_RNDN);
    }
    return -1;
}

} // namespace dwell
