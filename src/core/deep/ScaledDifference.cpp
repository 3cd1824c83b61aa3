#include "ScaledDifference.h"

#include <algorithm>
#include <cmath>

namespace dwell {

namespace {

// The exponent e with |x| < 2^e for a normalized extended float; very low for zero.
std::int64_t bound(const ExtendedFloat &x)
{
    return x.mantissa == 0.0 ? INT64_MIN / 4 : x.exponent;
}

double scaled(const ExtendedFloat &x, std::int64_t k)
{
    return x.mantissa == 0.0 ? 0.0 : scaledByPowerOfTwo(x.mantissa, x.exponent - k);
}

} // namespace

ScaledDifference::ScaledDifference(const ExtendedComplex &dc)
    : m_dc(dc), m_lowestK(std::max(bound(dc.re), bound(dc.im)) - 900)
{
    set({});
}

void ScaledDifference::set(const ExtendedComplex &d)
{
    const std::int64_t top = std::max(bound(d.re), bound(d.im));
    // A zero difference takes dc's scale, which its next step reaches.
    const std::int64_t k =
        std::max(d.re.mantissa == 0.0 && d.im.mantissa == 0.0 ? m_lowestK + 900 : top, m_lowestK);
    setScale(k);
    m_w = {scaled(d.re, k), scaled(d.im, k)};
    m_approx = approxOf(m_w, m_k);
}

ExtendedComplex ScaledDifference::extended() const
{
    return {ExtendedFloat::normalized(m_w.re, m_k), ExtendedFloat::normalized(m_w.im, m_k)};
}

ExtendedFloat ScaledDifference::norm() const
{
    return ExtendedFloat::normalized(m_w.norm(), 2 * m_k);
}

void ScaledDifference::setScale(std::int64_t k)
{
    m_k = k;
    m_u = {scaled(m_dc.re, k), scaled(m_dc.im, k)};
}

void ScaledDifference::rescale()
{
    if (!std::isfinite(m_w.re) || !std::isfinite(m_w.im))
        return;
    set(extended());
}

} // namespace dwell
