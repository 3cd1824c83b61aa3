#include "KernelCase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace dwell {

namespace {

// The defined order of roundings, and near misses a kernel could slip into.
enum class Rounding {
    Defined,
    ImaginaryUnfused,  // 2 Zr Zi + y rounded twice instead of one fma
    XJoinsZi2First,    // Zr^2 - (Zi^2 - x)
    XJoinsZr2First,    // (Zr^2 + x) - Zi^2
    XByMultiplication, // pixel i at x + i * step instead of a running sum
};

// Written apart from the kernels, so that a path agreeing with the reference
// loop on a rounding both get wrong still fails here.
LineResult oracle(const LineArgs &a, Rounding rounding)
{
    LineResult line{{}, 0, true};
    unsigned sum = 0;
    double cr = a.x;
    for (int i = 0; i < a.w; ++i, cr += a.step) {
        if (rounding == Rounding::XByMultiplication)
            cr = a.x + double(i) * a.step;
        double zr = a.originX;
        double zi = a.originY;
        int n = 0;
        for (; n < a.maxdwell; ++n) {
            const double rr = zr * zr;
            const double ii = zi * zi;
            if (rr + ii > a.bound)
                break;
            if (rounding == Rounding::ImaginaryUnfused) {
                const double product = 2 * zr * zi;
                zi = product + a.y;
            } else {
                zi = std::fma(zr + zr, zi, a.y);
            }
            if (rounding == Rounding::XJoinsZi2First)
                zr = rr - (ii - cr);
            else if (rounding == Rounding::XJoinsZr2First)
                zr = (rr + cr) - ii;
            else
                zr = (rr - ii) + cr;
        }
        line.dwells.push_back(n == a.maxdwell ? -1 : n);
        sum += unsigned(n);
    }
    line.sum = int(sum);
    return line;
}

// Lines near the set's edge where one pixel's dwell turns on a single
// rounding: each gives another dwell under its alternative.
struct Case {
    Rounding alternative;
    LineArgs args;
};
const Case kCases[] = {
    {Rounding::ImaginaryUnfused,
     {.x = -0x1.e1ap-3, .y = 0x1.882p-1, .step = 0x1p-20, .maxdwell = 200, .w = 8}},
    {Rounding::XJoinsZi2First,
     {.x = -0x1.9c08p-2, .y = 0x1.4a8cp-1, .step = 0x1p-20, .maxdwell = 200, .w = 8}},
    {Rounding::XJoinsZr2First,
     {.x = -0x1.1f46p-1, .y = 0x1.4946p-1, .step = 0x1p-20, .maxdwell = 200, .w = 8}},
    {Rounding::XByMultiplication,
     {.x = -0x1.07c3p+0, .y = 0x1.0df4p-2, .step = 1e-3, .maxdwell = 200, .w = 16}},
};

TEST(RoundingCases, CasesTellTheAlternativesApart)
{
    for (const Case &c : kCases)
        EXPECT_NE(oracle(c.args, Rounding::Defined).dwells, oracle(c.args, c.alternative).dwells)
            << describe(c.args);
}

class RoundingPaths : public PathTest {};

TEST_P(RoundingPaths, MatchTheDefinedRoundings)
{
    for (const Case &c : kCases)
        EXPECT_EQ(runLine(GetParam(), c.args), oracle(c.args, Rounding::Defined))
            << describe(c.args);
}

INSTANTIATE_TEST_SUITE_P(Paths, RoundingPaths, testing::ValuesIn(kAllKernelPaths), PathTest::name);

} // namespace

} // namespace dwell
