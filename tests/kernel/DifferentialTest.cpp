#include "KernelCase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace dwell {

namespace {

// Each wide path against the reference, result for result.
class Differential : public PathTest {
protected:
    void expectSame(const LineArgs &args) const
    {
        const LineResult expected = runLine(KernelPath::Scalar, args);
        const LineResult actual = runLine(GetParam(), args);
        ASSERT_TRUE(actual.guardsIntact) << describe(args);
        ASSERT_EQ(actual.dwells, expected.dwells) << describe(args);
        ASSERT_EQ(actual.sum, expected.sum) << describe(args);
    }
};

// Lines through windows around the set, from wide views to deep zooms.
LineArgs randomLine(std::mt19937 &rng)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> width(0, 400);
    std::uniform_int_distribution<int> limit(0, 3000);
    LineArgs a;
    const double span = std::pow(10.0, -12.0 * unit(rng)) * 4.0;
    a.w = width(rng);
    a.step = span / std::max(a.w, 1);
    a.x = -2.2 + 2.8 * unit(rng) - span / 2;
    a.y = -1.3 + 2.6 * unit(rng);
    a.maxdwell = limit(rng);
    if (unit(rng) < 0.2) {
        a.originX = unit(rng) - 0.5;
        a.originY = unit(rng) - 0.5;
    }
    if (unit(rng) < 0.2)
        a.bound = 0.5 + 8.0 * unit(rng);
    return a;
}

TEST_P(Differential, RandomLinesAroundTheSet)
{
    std::mt19937 rng(20240611);
    for (int i = 0; i < 1500; ++i)
        expectSame(randomLine(rng));
}

TEST_P(Differential, BoundaryRegionsWithMixedDwells)
{
    // Seahorse valley and the main cardioid's edge: neighbours differ by
    // thousands of iterations, so lanes refill at very different times.
    for (int r = 0; r < 40; ++r) {
        expectSame({.x = -0.7436439 - 128e-7,
                    .y = 0.1318259 - r * 1e-7,
                    .step = 1e-7,
                    .maxdwell = 5000,
                    .w = 256});
        expectSame({.x = 0.25, .y = r * 1e-3, .step = 1e-4, .maxdwell = 2000, .w = 300});
    }
}

TEST_P(Differential, OrbitsThatRepeatLateOrNearlyRepeat)
{
    // Lines that hold bounded points, which the wide paths may finish early.
    const auto expectSameWithBounded = [this](const LineArgs &args) {
        expectSame(args);
        const std::vector<int> dwells = runLine(KernelPath::Scalar, args).dwells;
        EXPECT_NE(std::count(dwells.begin(), dwells.end(), -1), 0) << describe(args);
    };
    // Long cycles: period-2^k windows near the Feigenbaum point, the
    // period-3 minibrot and the period-3 and period-4 bulbs.
    expectSameWithBounded({.x = -1.4013, .step = 2e-6, .maxdwell = 30000, .w = 48});
    expectSameWithBounded({.x = -1.7549, .step = 1e-5, .maxdwell = 30000, .w = 48});
    expectSameWithBounded(
        {.x = -0.1225 - 0.05, .y = 0.7449, .step = 2e-3, .maxdwell = 20000, .w = 48});
    expectSameWithBounded(
        {.x = -1.3107 - 0.03, .y = 0.01, .step = 1.5e-3, .maxdwell = 20000, .w = 48});
    // Cycles that start late: slow convergence next to the cardioid's cusp
    // and its period-2 neck; and orbits that linger near a fixed point,
    // coming close to repeating, before they escape or reach the limit.
    expectSameWithBounded({.x = 0.25 - 4e-6, .step = 2e-7, .maxdwell = 40000, .w = 40});
    expectSameWithBounded({.x = -0.75, .y = 2e-5, .step = 1e-6, .maxdwell = 40000, .w = 40});
    // Starting from a point of a cycle: the very first iterates repeat.
    expectSame({.originX = 0.0, .originY = 0.0, .x = -1.0, .step = 0.0, .maxdwell = 5000, .w = 40});
    expectSame({.originX = -0.0,
                .originY = -0.0,
                .x = 0.0,
                .y = -0.0,
                .step = -0.0,
                .maxdwell = 5000,
                .w = 20});
}

TEST_P(Differential, EveryWidthAndLimitNearTheLaneCount)
{
    for (int w = 0; w <= 70; ++w)
        for (const int limit : {0, 1, 2, 3, 7, 33})
            expectSame({.x = -2.0, .y = 0.3, .step = 3.0 / 64, .maxdwell = limit, .w = w});
}

TEST_P(Differential, NonFiniteAndDegenerateInputs)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> values{nan, inf, -inf, 0.0, -0.0, 4.0, -2.0, 1e300, -1e-310};
    for (const double v : values) {
        expectSame({.originX = v, .x = -1.5, .step = 0.1, .maxdwell = 40, .w = 30});
        expectSame({.originY = v, .x = -1.5, .step = 0.1, .maxdwell = 40, .w = 30});
        expectSame({.bound = v, .x = -1.5, .step = 0.1, .maxdwell = 40, .w = 30});
        expectSame({.x = v, .step = 0.1, .maxdwell = 40, .w = 30});
        expectSame({.x = -1.5, .y = v, .step = 0.1, .maxdwell = 40, .w = 30});
        expectSame({.x = -1.5, .step = v, .maxdwell = 40, .w = 30});
    }
    for (const int limit : {-1, -1000, std::numeric_limits<int>::min()})
        expectSame({.x = -2.0, .step = 0.1, .maxdwell = limit, .w = 40});
    // Squared modulus exactly on the bound, for every pixel of a long line.
    expectSame({.x = -2.0, .maxdwell = 3000, .w = 50});
}

INSTANTIATE_TEST_SUITE_P(Paths, Differential, testing::Values(KernelPath::Avx2, KernelPath::Avx512),
                         PathTest::name);

} // namespace

} // namespace dwell
