#include "ZoomPlan.h"

#include "BigFloat.h"

#include <cmath>

namespace dwell {

namespace {

constexpr mpfr_prec_t kBits = 128;

} // namespace

ZoomPlan ZoomPlan::make(const std::string &startWidth, const std::string &endWidth,
                        const std::string &factor, std::string *error)
{
    BigFloat start(kBits);
    BigFloat end(kBits);
    BigFloat step(kBits);
    ZoomPlan plan;
    if (!start.set(startWidth) || !end.set(endWidth) || mpfr_sgn(start.get()) <= 0 ||
        mpfr_sgn(end.get()) <= 0 || !mpfr_number_p(end.get())) {
        *error = "the widths must be positive numbers";
        return plan;
    }
    if (!step.set(factor) || !mpfr_number_p(step.get()) || mpfr_cmp_ui(step.get(), 1) <= 0) {
        *error = "the factor must be a number above 1";
        return plan;
    }
    // Frames needed: |log(end / start)| / log(factor), rounded up; a ratio
    // that is a whole power of the factor does not get one more.
    mpfr_div(end.get(), end.get(), start.get(), MPFR_RNDN);
    mpfr_log(end.get(), end.get(), MPFR_RNDN);
    mpfr_log(step.get(), step.get(), MPFR_RNDN);
    mpfr_div(end.get(), end.get(), step.get(), MPFR_RNDN);
    const double frames = mpfr_get_d(end.get(), MPFR_RNDN);
    const double last = std::ceil(std::abs(frames) - 1e-9);
    if (!(last <= kMaxFrames)) {
        *error = "the zoom would have more than " + std::to_string(kMaxFrames) +
                 " frames; take a larger factor";
        return plan;
    }
    plan.m_startWidth = startWidth;
    plan.m_factor = factor;
    plan.m_inward = frames < 0;
    plan.m_lastFrame = int(last);
    return plan;
}

std::string ZoomPlan::widthOf(int frame) const
{
    BigFloat width(kBits);
    BigFloat scale(kBits);
    width.set(m_startWidth);
    scale.set(m_factor);
    mpfr_pow_ui(scale.get(), scale.get(), unsigned(frame), MPFR_RNDN);
    if (m_inward)
        mpfr_div(width.get(), width.get(), scale.get(), MPFR_RNDN);
    else
        mpfr_mul(width.get(), width.get(), scale.get(), MPFR_RNDN);
    return width.toText();
}

} // namespace dwell
