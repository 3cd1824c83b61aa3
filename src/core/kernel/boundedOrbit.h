#pragma once

// A proof that an orbit which has nearly returned to an earlier iterate never
// escapes. Included only by the wide kernels' translation units, like the
// lane engine, so it has internal linkage and is built with their flags.
//
// F is the map every kernel computes in doubles (zr' = (zr^2 - zi^2) + cx
// and zi' = fma(zr + zr, zi, cy), each operation rounded). Where
// |z|^2 < reach, F(z) differs from the exact z^2 + c by at most
// (4 reach + |cx| + |cy|) u (u = 2^-53, plus underflow); err below is
// (5 reach + |cx| + |cy|) 2u. Given centres b_0 .. b_{p-1} (the orbit from
// the earlier iterate b_0) and a radius r_0, let
//     r_{i+1} = 2 err + miss_i + (2 |b_i| + r_i) r_i,
// where miss_i is 0 except for the last step, where it is |F(b_{p-1}) - b_0|.
// Since z^2 - b^2 = (z - b)(z + b), every z within r_i of b_i has F(z) within
// r_{i+1} of b_{i+1} (of b_0 after the last step): one err for z's own
// rounding, one for how far F(b_i) lies from b_i^2 + c. So if r_p <= r_0 and
// every disk lies within |z|^2 < reach <= the escape bound, any orbit in the
// first disk, b_0's own included, stays in the chain of disks forever: it
// never escapes, which is what the plain loop finds at any limit. The radii
// are computed with every rounding pushed outward (the kSlack factor), so the
// test is conservative: it may fail to prove a bounded orbit, never "prove"
// an escaping one.

#include <cmath>

namespace dwell {

namespace {

namespace bounded_orbit {

// Twice the unit roundoff, and a factor that covers the few roundings in
// computing each radius (all of whose terms are positive).
constexpr double kTwiceUnit = 0x1p-52;
constexpr double kSlack = 1.0 + 0x1p-30;
// Covers underflow: each rounding loses at most 2^-1075.
constexpr double kTiny = 0x1p-1000;

inline void step(double &zr, double &zi, double cx, double cy)
{
    const double tmp1 = zr * zr;
    const double tmp2 = zi * zi;
    zi = std::fma(zr + zr, zi, cy);
    zr = (tmp1 - tmp2) + cx;
}

inline double squaredDistance(double ar, double ai, double br, double bi)
{
    const double dr = ar - br;
    const double di = ai - bi;
    return dr * dr + di * di;
}

// The chain's last radius from r0 over the p steps from (br, bi), or
// infinity when a disk reaches |z|^2 = reach; multiplier gets the product of
// |F'| at the centres. Every disk lies within |z|^2 < reach, so one rounding
// bound serves all steps and keeps the radius's dependency chain short.
inline double lastRadius(double cx, double cy, double br, double bi, long long p, double reach,
                         double r0, double &multiplier)
{
    const double br0 = br;
    const double bi0 = bi;
    const double rounding =
        2.0 * ((5.0 * reach + std::fabs(cx) + std::fabs(cy)) * kTwiceUnit + kTiny) * kSlack;
    double r = r0;
    double widest = 0.0;
    multiplier = 1.0;
    for (long long i = 0; i < p; ++i) {
        const double twice = 2.0 * std::sqrt(br * br + bi * bi);
        const double rho = 0.5 * twice + r;
        widest = rho > widest ? rho : widest;
        step(br, bi, cx, cy);
        const double miss = i + 1 == p ? std::sqrt(squaredDistance(br, bi, br0, bi0)) : 0.0;
        r = (twice + r) * r * kSlack + (rounding + miss * kSlack + kTiny);
        multiplier *= twice;
    }
    // Negated so that NaN fails too.
    return widest * widest * kSlack < reach ? r : INFINITY;
}

} // namespace bounded_orbit

// The chain over two steps from (zr, zi), for every lane at once, as
// lastRadius computes it with r0 from its own first pass: the lanes whose
// orbits provably never escape. Two steps cover attracting fixed points and
// 2-cycles, most of the interior of a wide view, for a few operations.
template <class L>
typename L::Mask provesTwoStepsBounded(typename L::Vec zr, typename L::Vec zi, typename L::Vec cx,
                                       typename L::Vec cy, double bound)
{
    using namespace bounded_orbit;
    using Vec = typename L::Vec;
    const auto number = [](double value) { return L::broadcast(value); };
    const auto radius = [&](Vec twice, Vec r, Vec constant) {
        return L::add(L::mul(L::mul(L::add(twice, r), r), number(kSlack)), constant);
    };
    const double reach = bound < 16.0 ? bound : 16.0;
    const Vec rounding =
        L::mul(number(2.0 * kSlack),
               L::add(L::mul(L::add(L::add(number(5.0 * reach), L::abs(cx)), L::abs(cy)),
                             number(kTwiceUnit)),
                      number(kTiny)));
    Vec b1r = zr, b1i = zi;
    L::step(b1r, b1i, cx, cy, number(0.0));
    Vec b2r = b1r, b2i = b1i;
    L::step(b2r, b2i, cx, cy, number(0.0));
    const auto modulus = [](Vec re, Vec im) {
        return L::sqrt(L::add(L::mul(re, re), L::mul(im, im)));
    };
    const Vec twice0 = L::mul(number(2.0), modulus(zr, zi));
    const Vec twice1 = L::mul(number(2.0), modulus(b1r, b1i));
    const Vec miss = modulus(L::sub(b2r, zr), L::sub(b2i, zi));
    const Vec inner = L::add(rounding, number(kTiny));
    const Vec closing = L::add(L::add(rounding, L::mul(miss, number(kSlack))), number(kTiny));
    const Vec multiplier = L::mul(L::mul(twice0, twice1), number(kSlack));
    // From r0 = 0, then from twice that over (1 - multiplier).
    const Vec floor = radius(twice1, inner, closing);
    const Vec r0 = L::div(L::mul(number(2.0), floor), L::sub(number(1.0), multiplier));
    const Vec r1 = radius(twice0, r0, inner);
    const Vec r2 = radius(twice1, r1, closing);
    const Vec widest =
        L::max(L::add(L::mul(number(0.5), twice0), r0), L::add(L::mul(number(0.5), twice1), r1));
    // Ordered comparisons: a NaN anywhere proves nothing.
    return L::both(L::both(L::less(multiplier, number(1.0)), L::notGreater(r2, r0)),
                   L::less(L::mul(L::mul(widest, widest), number(kSlack)), number(reach)));
}

enum class Proof {
    Bounded, // the orbit never escapes
    NotYet,  // a closer return may prove it
    TooLong, // no return within the longest period worth trying
};

// Whether the orbit of z^2 + c through (sr, si) provably never escapes
// |z|^2 > bound, given that `steps` steps later it was at (zr, zi). The
// period tried is the first return at least that close, up to maxPeriod.
inline Proof proveBounded(double cx, double cy, double sr, double si, double zr, double zi,
                          long long steps, long long maxPeriod, double bound)
{
    using namespace bounded_orbit;
    const double closest = squaredDistance(zr, zi, sr, si);
    const long long last = steps < maxPeriod ? steps : maxPeriod;
    long long period = 0;
    double br = sr;
    double bi = si;
    for (long long i = 1; i <= last && period == 0; ++i) {
        step(br, bi, cx, cy);
        if (squaredDistance(br, bi, sr, si) <= closest)
            period = i;
    }
    if (period == 0)
        return Proof::TooLong;
    // Disks stay within both the escape bound and |z| < 4, where the
    // rounding bound is small.
    const double reach = bound < 16.0 ? bound : 16.0;
    // With r0 = 0 the last radius is what rounding and the miss add up to;
    // twice that over (1 - multiplier) leaves room for the contraction.
    double multiplier = 0.0;
    const double floor = lastRadius(cx, cy, sr, si, period, reach, 0.0, multiplier);
    if (!(multiplier * kSlack < 1.0) || !std::isfinite(floor))
        return Proof::NotYet;
    const double r0 = 2.0 * floor / (1.0 - multiplier * kSlack);
    return lastRadius(cx, cy, sr, si, period, reach, r0, multiplier) <= r0 ? Proof::Bounded
                                                                           : Proof::NotYet;
}

} // namespace

} // namespace dwell
