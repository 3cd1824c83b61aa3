#include "BigFloat.h"
#include "KernelOracle.h"
#include "Nucleus.h"
#include "Perturbation.h"
#include "ReferenceOrbit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <string>

namespace dwell {

namespace {

// A deep picture: its centre as text, its width in the plane as text.
struct Location {
    std::string name, centerX, centerY, width;
    int maxDwell;
};

constexpr int kWidth = 640;
constexpr int kHeight = 480;

void expectOraclesDwells(const Location &at)
{
    // Binary digits to resolve a pixel of the picture, with ample room to spare.
    BigFloat probe(64);
    probe.set(at.width);
    const long bits = std::max<long>(128, -long(mpfr_get_exp(probe.get())) + 200);
    BigFloat cx(bits), cy(bits), step(bits);
    cx.set(at.centerX);
    cy.set(at.centerY);
    step.set(at.width);
    mpfr_div_si(step.get(), step.get(), kWidth, MPFR_RNDN);
    // Each pixel's dwell by direct MPFR iteration, the pixel moved right by nudge steps.
    const auto oracle = [&](int column, int line, double nudge) {
        BigFloat cr(bits), ci(bits);
        mpfr_mul_d(cr.get(), step.get(), column - kWidth / 2.0 + nudge, MPFR_RNDN);
        mpfr_add(cr.get(), cr.get(), cx.get(), MPFR_RNDN);
        mpfr_mul_d(ci.get(), step.get(), kHeight / 2.0 - line, MPFR_RNDN);
        mpfr_add(ci.get(), ci.get(), cy.get(), MPFR_RNDN);
        return mpfrDwell(cr, ci, at.maxDwell);
    };
    const DeepWindow window{at.centerX, at.centerY, step.toExtended(), kWidth, kHeight};
    const ReferencePoint point{
        at.centerX, at.centerY, 0.0, 0.0, 4.0, at.maxDwell, referencePrecision(window.step),
        window.step};
    const ReferenceOrbit orbit = ReferenceOrbit::compute(point);
    ASSERT_FALSE(orbit.empty());

    // With merged steps and with single steps only: each must have the oracle's dwell.
    const Perturbation perturbation(orbit, window, 4.0);
    const Perturbation plain(orbit, window, 4.0, Perturbation::Shortcuts::None);
    std::mt19937 rng(7);
    int compared = 0, agreed = 0, escaped = 0;
    for (int sample = 0; sample < 200; ++sample) {
        const int column = int(rng() % kWidth);
        const int line = int(rng() % kHeight);
        const int expected = oracle(column, line, 0.0);
        // Pixels whose dwell a millionth of a step changes have no exact answer.
        if (oracle(column, line, 1e-6) != expected)
            continue;
        ++compared;
        escaped += expected >= 0;
        const ExtendedComplex dc = window.offset(column, line);
        agreed += perturbation.dwell(dc, at.maxDwell) == expected &&
                  plain.dwell(dc, at.maxDwell) == expected;
    }
    EXPECT_GE(agreed * 1000, compared * 999) << agreed << " of " << compared << " agree";
    EXPECT_GT(escaped, 0) << "the location shows no structure";
}

class DeepAccuracy : public testing::TestWithParam<Location> {};

} // namespace

TEST_P(DeepAccuracy, SampledPixelsHaveTheOraclesDwell)
{
    expectOraclesDwells(GetParam());
}

// A minibrot 1e-46 wide, found by Newton's method.
TEST(DeepMinibrot, NucleusReturnsToZeroAndItsFrameHasTheOraclesDwells)
{
    const std::string x = "3e-26", y = "1.00000000000000000000000003";
    const int period = atomPeriod(x, y, 10000, 256);
    const std::optional<Nucleus> nucleus = findNucleus(x, y, period, 640);
    ASSERT_TRUE(nucleus);
    EXPECT_EQ(period, 63);

    BigFloat cr(640), ci(640), zr(640), zi(640), t(640);
    cr.set(nucleus->centerX);
    ci.set(nucleus->centerY);
    mpfr_set_zero(zr.get(), 1);
    mpfr_set_zero(zi.get(), 1);
    for (int n = 1; n <= period; ++n) {
        mpfr_sqr(t.get(), zr.get(), MPFR_RNDN);
        mpfr_fms(t.get(), zi.get(), zi.get(), t.get(), MPFR_RNDN); // zi^2 - zr^2
        mpfr_mul(zi.get(), zi.get(), zr.get(), MPFR_RNDN);
        mpfr_mul_2ui(zi.get(), zi.get(), 1, MPFR_RNDN);
        mpfr_add(zi.get(), zi.get(), ci.get(), MPFR_RNDN);
        mpfr_sub(zr.get(), cr.get(), t.get(), MPFR_RNDN);
        const double size =
            std::hypot(mpfr_get_d(zr.get(), MPFR_RNDN), mpfr_get_d(zi.get(), MPFR_RNDN));
        EXPECT_TRUE(n < period ? size > 1e-40 : size < 1e-150) << "|z| " << size << " at " << n;
    }
    const double width = 4.0 * nucleus->size.toDouble();
    EXPECT_TRUE(width > 1e-47 && width < 1e-45) << width;
    char text[32];
    std::snprintf(text, sizeof text, "%.3e", width);
    expectOraclesDwells({"minibrot_1e46", nucleus->centerX, nucleus->centerY, text, 20000});
}

INSTANTIATE_TEST_SUITE_P(
    Depths, DeepAccuracy,
    testing::Values(Location{"misiurewicz_1e20", "0", "1", "1e-20", 2000},
                    Location{"misiurewicz_1e300", "0", "1", "1e-300", 3000},
                    Location{"misiurewicz_1e1000", "0", "1", "1e-1000", 6000},
                    Location{"minibrot_period3", "-1.7597", "0.0021", "0.03", 2000},
                    Location{"seahorse_1e20", "-0.743643887037158704752191506114774",
                             "0.131825904205311970493132056385139", "1e-20", 20000}),
    [](const testing::TestParamInfo<Location> &info) { return info.param.name; });

TEST(ExtendedFloat, ExponentBitsScaleExactlyAsTheLibraryDoes)
{
    // Random bit patterns: normal, subnormal, zero, infinite and NaN doubles.
    std::mt19937_64 random(5);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::bit_cast<double>(random());
        const std::int64_t shift = std::int64_t(random() % 2400) - 1200;
        const double scaled = scaledByPowerOfTwo(x, shift);
        const double expected = std::ldexp(x, int(shift));
        ASSERT_TRUE(scaled == expected || (std::isnan(scaled) && std::isnan(expected)))
            << x << " " << shift;
        int exponent = 0;
        const double mantissa = std::frexp(x, &exponent);
        const ExtendedFloat normal = ExtendedFloat::normalized(x, 7);
        if (x != 0.0 && std::isfinite(x)) {
            ASSERT_TRUE(normal.mantissa == mantissa && normal.exponent == exponent + 7) << x;
        }
    }
}

} // namespace dwell
