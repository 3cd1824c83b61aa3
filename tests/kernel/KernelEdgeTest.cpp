#include "KernelCase.h"
#include "mandel.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace dwell {

namespace {

// Every path, the reference included, must give these known values.
class KernelEdge : public PathTest {
protected:
    LineResult run(const LineArgs &args) const
    {
        const LineResult result = runLine(GetParam(), args);
        EXPECT_TRUE(result.guardsIntact) << describe(args);
        return result;
    }
    int dwellAt(double cr, int maxdwell = 10) const
    {
        return run({.x = cr, .maxdwell = maxdwell}).dwells.at(0);
    }
};

TEST_P(KernelEdge, EscapeIsStrictlyBeyondTheBound)
{
    // Squared moduli of c = 1 run 0, 1, 4, 25: 4 itself stays inside.
    EXPECT_EQ(dwellAt(1.0), 3);
    EXPECT_EQ(dwellAt(1.0, 4), 3);
    EXPECT_EQ(run({.x = 1.0, .maxdwell = 3}), (LineResult{{-1}, 3, true}));
    EXPECT_EQ(dwellAt(2.0), 2);
    EXPECT_EQ(dwellAt(3.0), 1);
    for (const int limit : {1, 10, 1000})
        EXPECT_EQ(run({.x = -2.0, .maxdwell = limit}), (LineResult{{-1}, limit, true}));
    EXPECT_EQ(dwellAt(0.0), -1);
    EXPECT_EQ(dwellAt(0.25), -1);
}

TEST_P(KernelEdge, LimitsAndWidthsWithoutIterations)
{
    const LineArgs line{.x = -2.0, .step = 0.5, .w = 7};
    LineArgs zero = line;
    zero.maxdwell = 0;
    EXPECT_EQ(run(zero), (LineResult{std::vector<int>(7, -1), 0, true}));
    LineArgs negative = line;
    negative.maxdwell = -5;
    EXPECT_EQ(run(negative), (LineResult{std::vector<int>(7, 0), 0, true}));
    for (const int w : {0, -1, -100}) {
        LineArgs empty = line;
        empty.w = w;
        EXPECT_EQ(run(empty), (LineResult{{}, 0, true}));
    }
}

TEST_P(KernelEdge, StartsOutsideTheBound)
{
    const std::vector<int> zeros(9, 0);
    EXPECT_EQ(run({.originX = 3.0, .x = -1.0, .step = 0.25, .w = 9}), (LineResult{zeros, 0, true}));
    EXPECT_EQ(run({.bound = -1.0, .x = -1.0, .step = 0.25, .w = 9}), (LineResult{zeros, 0, true}));
    // Zero stays inside a zero bound for as long as the orbit stays at zero.
    EXPECT_EQ(run({.bound = 0.0, .x = 0.0, .maxdwell = 5}), (LineResult{{-1}, 5, true}));
}

TEST_P(KernelEdge, KnownLines)
{
    EXPECT_EQ(run({.x = -2.0, .y = 1.0, .step = 1.0, .maxdwell = 100, .w = 5}),
              (LineResult{{1, 3, -1, 2, 1}, 107, true}));
    // A line that never escapes adds the limit once per pixel.
    EXPECT_EQ(run({.x = -0.1, .step = 0.01, .maxdwell = 500, .w = 21}),
              (LineResult{std::vector<int>(21, -1), 21 * 500, true}));
}

TEST_P(KernelEdge, NaNNeverEscapes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(run({.originX = nan, .x = 5.0, .maxdwell = 50, .w = 3}),
              (LineResult{{-1, -1, -1}, 150, true}));
    EXPECT_EQ(run({.bound = nan, .x = 5.0, .maxdwell = 50}), (LineResult{{-1}, 50, true}));
    // An infinite c escapes from the first iterate it reaches.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(run({.x = inf, .maxdwell = 50}), (LineResult{{1}, 1, true}));
    EXPECT_EQ(run({.y = -inf, .maxdwell = 50}), (LineResult{{1}, 1, true}));
    EXPECT_EQ(run({.originX = inf, .maxdwell = 50}), (LineResult{{0}, 0, true}));
}

INSTANTIATE_TEST_SUITE_P(Paths, KernelEdge, testing::ValuesIn(kAllKernelPaths), PathTest::name);

TEST(KernelPaths, ChoiceFallsBackToWhatTheCpuRuns)
{
    EXPECT_TRUE(isAvailable(KernelPath::Scalar));
    EXPECT_TRUE(isAvailable(bestAvailablePath()));
    EXPECT_EQ(chooseKernelPath("scalar"), KernelPath::Scalar);
    EXPECT_EQ(chooseKernelPath(nullptr), bestAvailablePath());
    EXPECT_EQ(chooseKernelPath("sse9"), bestAvailablePath());
    EXPECT_EQ(chooseKernelPath(""), bestAvailablePath());
    for (const KernelPath path : kAllKernelPaths) {
        const KernelPath chosen = chooseKernelPath(kernelPathName(path));
        EXPECT_EQ(chosen, isAvailable(path) ? path : bestAvailablePath());
    }
    EXPECT_TRUE(isAvailable(activeKernelPath()));
}

TEST(KernelPaths, PublicEntryMatchesTheReference)
{
    std::vector<int> buf(5);
    EXPECT_EQ(mandelLine(0, 0, 4, -2.0, 1.0, 1.0, 100, 5, buf.data()), 107);
    EXPECT_EQ(buf, (std::vector<int>{1, 3, -1, 2, 1}));
}

} // namespace

} // namespace dwell
