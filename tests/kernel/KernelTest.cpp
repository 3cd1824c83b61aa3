#include "Coloring.h"
#include "DwellColor.h"
#include "DwellColors.h"
#include "KernelPaths.h"
#include "mandel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace dwell {

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
// Left of the seahorse valley's spiral: dwells thousands of iterations apart side by side.
constexpr double kSeahorse = -0.7436439 - 128e-7;

// One line's arguments, as the worker threads pass them.
struct LineArgs {
    double originX = 0, originY = 0, bound = 4, x = 0, y = 0, step = 0;
    int maxdwell = 10, w = 1;
};

// What a path wrote: dwells, the bits of each escaped pixel's |z|^2 past escape (NaNs as one),
// the sum, and whether the guards around the line in its odd-offset buffer stayed untouched.
struct LineResult {
    std::vector<int> dwells;
    std::vector<std::uint32_t> normBits;
    int sum = 0;
    bool guardsIntact = false;

    bool operator==(const LineResult &) const = default;
};

// The bits of n norms, every NaN as one.
std::vector<std::uint32_t> normBits(const float *norms, std::size_t n)
{
    std::vector<std::uint32_t> bits;
    for (std::size_t i = 0; i < n; ++i)
        bits.push_back(std::bit_cast<std::uint32_t>(std::isnan(norms[i]) ? float(kNan) : norms[i]));
    return bits;
}

LineResult runLine(KernelPath path, const LineArgs &a)
{
    constexpr int kGuard = 0x5eed;
    const int n = std::max(a.w, 0);
    std::vector<int> storage(std::size_t(n) + 6, kGuard); // one guard before, five after
    int *const buf = storage.data() + 1;
    std::vector<float> norms(std::size_t(n) + 1);
    LineResult result;
    result.sum = mandelLineWith(path, a.originX, a.originY, a.bound, a.x, a.y, a.step, a.maxdwell,
                                a.w, buf, norms.data());
    result.dwells.assign(buf, buf + n);
    result.normBits = normBits(norms.data(), std::size_t(n));
    result.guardsIntact =
        storage.front() == kGuard &&
        std::all_of(buf + n, storage.data() + storage.size(), [](int v) { return v == kGuard; });
    return result;
}

std::string describe(const LineArgs &a)
{
    std::ostringstream out;
    out.precision(17);
    out << "origin (" << a.originX << ", " << a.originY << ") bound " << a.bound << " x " << a.x
        << " y " << a.y << " step " << a.step << " limit " << a.maxdwell << " w " << a.w;
    return out.str();
}

// A test run once per kernel path, skipped where the CPU lacks the path.
class PathTest : public testing::TestWithParam<KernelPath> {
public:
    static std::string name(const testing::TestParamInfo<KernelPath> &info)
    {
        return kernelPathName(info.param);
    }

protected:
    void SetUp() override
    {
        if (!isAvailable(GetParam()))
            GTEST_SKIP() << kernelPathName(GetParam()) << " is not supported by this CPU";
    }
};

// Every path, the reference included, must give these known values.
TEST_P(PathTest, KnownLines)
{
    const struct {
        LineArgs args;
        std::vector<int> dwells;
        int sum;
    } cases[] = {
        // Escape is strictly beyond the bound: |z|^2 for c = 1 runs 0, 1, 4 (inside), 25.
        {{.x = 1.0, .maxdwell = 4}, {3}, 3},
        {{.x = 1.0, .maxdwell = 3}, {-1}, 3},
        {{.x = -2.0, .maxdwell = 1000}, {-1}, 1000},
        // Limits and widths that leave nothing to iterate.
        {{.x = -2.0, .step = 0.5, .maxdwell = 0, .w = 7}, std::vector<int>(7, -1), 0},
        {{.x = -2.0, .step = 0.5, .maxdwell = -5, .w = 7}, std::vector<int>(7, 0), 0},
        {{.x = -2.0, .step = 0.5, .w = -100}, {}, 0},
        // Starting outside the bound; zero stays inside a zero bound while the orbit stays 0.
        {{.originX = 3.0, .x = -1.0, .step = 0.25, .w = 9}, std::vector<int>(9, 0), 0},
        {{.bound = -1.0, .x = -1.0, .step = 0.25, .w = 9}, std::vector<int>(9, 0), 0},
        {{.bound = 0.0, .x = 0.0, .maxdwell = 5}, {-1}, 5},
        {{.x = -2.0, .y = 1.0, .step = 1.0, .maxdwell = 100, .w = 5}, {1, 3, -1, 2, 1}, 107},
        // A line that never escapes adds the limit once per pixel.
        {{.x = -0.1, .step = 0.01, .maxdwell = 500, .w = 21}, std::vector<int>(21, -1), 21 * 500},
        // NaN never escapes; an infinite c escapes from the first iterate it reaches.
        {{.originX = kNan, .x = 5.0, .maxdwell = 50, .w = 3}, {-1, -1, -1}, 150},
        {{.bound = kNan, .x = 5.0, .maxdwell = 50}, {-1}, 50},
        {{.x = kInf, .maxdwell = 50}, {1}, 1},
        {{.originX = kInf, .maxdwell = 50}, {0}, 0},
    };
    for (const auto &c : cases) {
        const LineResult got = runLine(GetParam(), c.args);
        EXPECT_EQ(std::tie(got.dwells, got.sum, got.guardsIntact),
                  std::make_tuple(c.dwells, c.sum, true))
            << describe(c.args);
    }
}

TEST(KernelPaths, ChoiceFallsBackToWhatTheCpuRuns)
{
    EXPECT_TRUE(isAvailable(KernelPath::Scalar) && isAvailable(bestAvailablePath()));
    EXPECT_EQ(chooseKernelPath("scalar"), KernelPath::Scalar);
    for (const char *unknown : {static_cast<const char *>(nullptr), "sse9", ""})
        EXPECT_EQ(chooseKernelPath(unknown), bestAvailablePath());
    for (const KernelPath path : kAllKernelPaths)
        EXPECT_EQ(chooseKernelPath(kernelPathName(path)),
                  isAvailable(path) ? path : bestAvailablePath());
    // The public entry runs the active path.
    int buf[5];
    EXPECT_EQ(mandelLine(0, 0, 4, -2.0, 1.0, 1.0, 100, 5, buf), 107);
}

// Each wide path against the reference, result for result.
class Differential : public PathTest {
protected:
    void expectSame(const LineArgs &args) const
    {
        const LineResult expected = runLine(KernelPath::Scalar, args);
        ASSERT_EQ(runLine(GetParam(), args),
                  (LineResult{expected.dwells, expected.normBits, expected.sum, true}))
            << describe(args);
    }
};

// Lines through windows around the set, from wide views to deep zooms.
LineArgs randomLine(std::mt19937 &rng)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    LineArgs a;
    const double span = std::pow(10.0, -12.0 * unit(rng)) * 4.0;
    a.w = std::uniform_int_distribution<int>(0, 400)(rng);
    a.step = span / std::max(a.w, 1);
    a.x = -2.2 + 2.8 * unit(rng) - span / 2;
    a.y = -1.3 + 2.6 * unit(rng);
    a.maxdwell = std::uniform_int_distribution<int>(0, 3000)(rng);
    if (unit(rng) < 0.2) {
        a.originX = unit(rng) - 0.5;
        a.originY = unit(rng) - 0.5;
    }
    if (unit(rng) < 0.2)
        a.bound = 0.5 + 8.0 * unit(rng);
    return a;
}

TEST_P(Differential, RandomLinesEveryWidthNearTheLaneCountAndDegenerateInputs)
{
    std::mt19937 rng(20240611);
    for (int i = 0; i < 1500; ++i)
        expectSame(randomLine(rng));
    for (int w = 0; w <= 70; ++w)
        for (const int limit : {0, 1, 2, 3, 7, 33})
            expectSame({.x = -2.0, .y = 0.3, .step = 3.0 / 64, .maxdwell = limit, .w = w});
    for (const double v : {kNan, kInf, -kInf, 0.0, -0.0, 4.0, -2.0, 1e300, -1e-310})
        for (double LineArgs::*field : {&LineArgs::originX, &LineArgs::originY, &LineArgs::bound,
                                        &LineArgs::x, &LineArgs::y, &LineArgs::step}) {
            LineArgs args{.x = -1.5, .step = 0.1, .maxdwell = 40, .w = 30};
            args.*field = v;
            expectSame(args);
        }
    for (const int limit : {-1, -1000, std::numeric_limits<int>::min()})
        expectSame({.x = -2.0, .step = 0.1, .maxdwell = limit, .w = 40});
    // Squared modulus exactly on the bound, for every pixel of a long line.
    expectSame({.x = -2.0, .maxdwell = 3000, .w = 50});
}

TEST_P(Differential, MixedDwellsAndOrbitsThatRepeatLateOrNearlyRepeat)
{
    // Neighbours thousands of iterations apart: lanes refill at very different times.
    for (int r = 0; r < 40; ++r) {
        expectSame(
            {.x = kSeahorse, .y = 0.1318259 - r * 1e-7, .step = 1e-7, .maxdwell = 5000, .w = 256});
        expectSame({.x = 0.25, .y = r * 1e-3, .step = 1e-4, .maxdwell = 2000, .w = 300});
    }
    // Bounded points the wide paths may finish early: long cycles (near the Feigenbaum
    // point, period-3 minibrot and bulbs, period-4 bulb), late ones (cusp, period-2 neck).
    const LineArgs bounded[] = {
        {.x = -1.4013, .step = 2e-6, .maxdwell = 30000, .w = 48},
        {.x = -1.7549, .step = 1e-5, .maxdwell = 30000, .w = 48},
        {.x = -0.1225 - 0.05, .y = 0.7449, .step = 2e-3, .maxdwell = 20000, .w = 48},
        {.x = -1.3107 - 0.03, .y = 0.01, .step = 1.5e-3, .maxdwell = 20000, .w = 48},
        {.x = 0.25 - 4e-6, .step = 2e-7, .maxdwell = 40000, .w = 40},
        {.x = -0.75, .y = 2e-5, .step = 1e-6, .maxdwell = 40000, .w = 40},
        // A period-2 satellite's edge: escapes as late as 89000, slow settling inside.
        {.x = -0.8649 - 60e-7, .y = 0.2104, .step = 1e-7, .maxdwell = 100000, .w = 40},
    };
    for (const LineArgs &args : bounded) {
        expectSame(args);
        EXPECT_NE(std::ranges::count(runLine(KernelPath::Scalar, args).dwells, -1), 0)
            << describe(args);
    }
    // From a point of a cycle, and from a zero whose every part but x is negative.
    expectSame({.originX = 0.0, .originY = 0.0, .x = -1.0, .step = 0.0, .maxdwell = 5000, .w = 40});
    const double z = -0.0;
    expectSame(
        {.originX = z, .originY = z, .x = 0.0, .y = z, .step = z, .maxdwell = 5000, .w = 20});
}

// A block of lines gives each line as the reference does alone, and writes nothing past it.
TEST_P(Differential, BlocksOfLinesAreTheirLinesOneByOne)
{
    const LineArgs shapes[] = {
        {.x = kSeahorse, .y = 0.1318259, .step = 1e-7, .maxdwell = 5000, .w = 256},
        {.originX = 0.1, .bound = 9, .x = -2.0, .y = 0.3, .step = 3.0 / 64, .maxdwell = 33, .w = 1},
        {.x = -1.5, .y = 0.2, .step = 0.01, .maxdwell = 0, .w = 30},
        {.x = -1.5, .y = 0.2, .step = 0.01, .maxdwell = 300, .w = 0},
    };
    for (const LineArgs &shape : shapes)
        for (const int lines : {1, 2, 7}) {
            std::vector<double> ys;
            for (int line = 0; line < lines; ++line)
                ys.push_back(shape.y - line * shape.step * 3);
            // One guard past the block in each output.
            const std::size_t w = std::size_t(std::max(shape.w, 0)), n = w * std::size_t(lines);
            std::vector<int> buf(n + 1, 0x5eed), sums(std::size_t(lines) + 1, 0x5eed);
            std::vector<float> norms(n + 1, 0.5f);
            mandelLinesWith(GetParam(), shape.originX, shape.originY, shape.bound, shape.x,
                            ys.data(), lines, shape.step, shape.maxdwell, shape.w, buf.data(),
                            norms.data(), sums.data());
            EXPECT_TRUE(buf.back() == 0x5eed && norms.back() == 0.5f && sums.back() == 0x5eed)
                << describe(shape) << " lines " << lines;
            for (std::size_t line = 0; line < ys.size(); ++line) {
                LineArgs args = shape;
                args.y = ys[line];
                const auto at = buf.begin() + std::ptrdiff_t(line * w);
                const LineResult got{
                    {at, at + std::ptrdiff_t(w)}, normBits(&norms[line * w], w), sums[line], true};
                EXPECT_EQ(got, runLine(KernelPath::Scalar, args))
                    << describe(args) << " line " << line << " of " << lines;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Paths, Differential, testing::Values(KernelPath::Avx2, KernelPath::Avx512),
                         PathTest::name);

// The defined order of roundings, and near misses a kernel could slip into.
enum class Rounding {
    Defined,
    ImaginaryUnfused,  // 2 Zr Zi + y rounded twice instead of one fma
    XJoinsZi2First,    // Zr^2 - (Zi^2 - x)
    XJoinsZr2First,    // (Zr^2 + x) - Zi^2
    XByMultiplication, // pixel i at x + i * step instead of a running sum
};

// Apart from the kernels: a rounding that a path and the reference both get wrong fails here.
LineResult oracle(const LineArgs &a, Rounding rounding)
{
    LineResult line{{}, {}, 0, true};
    std::vector<float> norms;
    unsigned sum = 0;
    double cr = a.x;
    for (int i = 0; i < a.w; ++i, cr += a.step) {
        if (rounding == Rounding::XByMultiplication)
            cr = a.x + double(i) * a.step;
        double zr = a.originX, zi = a.originY;
        int n = 0;
        bool escaped = false;
        for (; n < a.maxdwell && !escaped; ++n) {
            const double rr = zr * zr, ii = zi * zi;
            escaped = rr + ii > a.bound;
            zi = rounding == Rounding::ImaginaryUnfused ? 2 * zr * zi + a.y
                                                        : std::fma(zr + zr, zi, a.y);
            zr = rounding == Rounding::XJoinsZi2First   ? rr - (ii - cr)
                 : rounding == Rounding::XJoinsZr2First ? (rr + cr) - ii
                                                        : (rr - ii) + cr;
        }
        n -= escaped;
        // The iterate one step past the escape.
        norms.push_back(escaped ? float(zr * zr + zi * zi) : 0.0f);
        line.dwells.push_back(n == a.maxdwell ? -1 : n);
        sum += unsigned(n);
    }
    line.sum = int(sum);
    line.normBits = normBits(norms.data(), norms.size());
    return line;
}

TEST_P(PathTest, MatchTheDefinedRoundings)
{
    // Near the edge, one pixel's dwell turns on one rounding: its alternative gives another.
    const struct {
        Rounding alternative;
        LineArgs args;
    } cases[] = {
        {Rounding::ImaginaryUnfused,
         {.x = -0x1.e1ap-3, .y = 0x1.882p-1, .step = 0x1p-20, .maxdwell = 200, .w = 8}},
        {Rounding::XJoinsZi2First,
         {.x = -0x1.9c08p-2, .y = 0x1.4a8cp-1, .step = 0x1p-20, .maxdwell = 200, .w = 8}},
        {Rounding::XJoinsZr2First,
         {.x = -0x1.1f46p-1, .y = 0x1.4946p-1, .step = 0x1p-20, .maxdwell = 200, .w = 8}},
        {Rounding::XByMultiplication,
         {.x = -0x1.07c3p+0, .y = 0x1.0df4p-2, .step = 1e-3, .maxdwell = 200, .w = 16}},
    };
    for (const auto &c : cases) {
        const LineResult defined = oracle(c.args, Rounding::Defined);
        // The case must tell the defined rounding from its alternative.
        ASSERT_NE(defined.dwells, oracle(c.args, c.alternative).dwells) << describe(c.args);
        EXPECT_EQ(runLine(GetParam(), c.args), defined) << describe(c.args);
    }
}

// Each path's line colours: known ones, and the one-pixel rule's with guard bytes after the line.
TEST_P(PathTest, LineColorsMatchTheOnePixelRule)
{
    // One hex digit per channel, lowest in red.
    const std::vector<int> known = {-1, 0, 17, 256, 1000, 4095, 4096, 4097};
    const std::vector<int> rgb = {0,   0,   0,  0,   0,   0,   16, 16, 0, 0,  0, 16,
                                  128, 224, 48, 240, 240, 240, 0,  0,  0, 16, 0, 0};
    std::vector<std::uint8_t> pixels(rgb.size());
    storeDwellColorsWith(GetParam(), known.data(), int(known.size()), pixels.data());
    EXPECT_EQ(std::vector<int>(pixels.begin(), pixels.end()), rgb);
    const auto expectSame = [this](const std::vector<int> &dwells, std::size_t offset) {
        std::vector<std::uint8_t> expected(offset + 3 * dwells.size() + 32, 0x5a);
        std::vector<std::uint8_t> actual = expected;
        for (std::size_t i = 0; i < dwells.size(); ++i)
            storeDwellColor(dwells[i], &expected[offset + 3 * i]);
        storeDwellColorsWith(GetParam(), dwells.data(), int(dwells.size()), &actual[offset]);
        ASSERT_EQ(actual, expected) << dwells.size() << " pixels at offset " << offset;
    };
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> dwell(-1, 70000);
    std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> chance(0, 99);
    // Mostly the kernel's dwells, many bounded, now and then a value no kernel gives.
    for (std::size_t count = 0; count <= 70; ++count)
        for (const std::size_t offset : {0, 1, 5}) {
            std::vector<int> dwells(count);
            for (int &d : dwells)
                d = chance(rng) < 30 ? -1 : chance(rng) < 3 ? anyInt(rng) : dwell(rng);
            expectSame(dwells, offset);
        }
    expectSame(std::vector<int>(1024, -1), 3);
    expectSame({INT_MIN, INT_MAX, -2, -16, -17, 0, 15, 16, 255, 256, 4095, 4096, 65535, -1}, 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathTest, testing::ValuesIn(kAllKernelPaths), PathTest::name);

} // namespace

TEST(Palette, RoundTripsWrapsAndRefusesWhatIsNotOne)
{
    std::string error;
    const std::optional<Palette> grey = Palette::parse(
        "# black to white and back\nname = Grey\n\n0 #000000\n 0.5 #FFffff \n", &error);
    ASSERT_TRUE(grey) << error;
    const std::optional<Palette> again = Palette::parse(grey->text(), &error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(again->name(), "Grey");
    ASSERT_EQ(again->stops().size(), 2u);
    EXPECT_EQ(again->stops()[1].position, 0.5);
    EXPECT_EQ(again->stops()[1].rgb, (std::array<std::uint8_t, 3>{255, 255, 255}));
    // Halfway up, halfway back down past the end, and a turn later the same.
    for (const double at : {0.25, 0.75, 1.25, -0.75})
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(grey->at(at)[c], 128, 1) << at;

    for (const char *bad : {"0 #000000\n", "0 #000000\n1 #fff\n", "0.6 #000000\n0.5 #ffffff\n"}) {
        error.clear();
        EXPECT_FALSE(Palette::parse(bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(Coloring, PalettesFollowTheContinuousDwellAndKeepTheInteriorApart)
{
    // 5 + 2 - log2(ln 16 / ln 4) = 6, and the value falls as |z| grows.
    EXPECT_NEAR(continuousDwell(5, 16.0f, 4.0f), 6.0f, 1e-3);
    EXPECT_LT(continuousDwell(5, 300.0f, 4.0f), continuousDwell(5, 16.0f, 4.0f));
    EXPECT_FLOAT_EQ(continuousDwell(5, 16.0f, 1.0f), 5.0f) << "no scale from a bound of 1";
    std::string error;
    Coloring coloring;
    coloring.palette =
        std::make_shared<const Palette>(*Palette::parse("0 #000000\n0.5 #ffffff\n", &error));
    coloring.interior = {1, 2, 3};
    coloring.density = 2.0; // a turn every 16 dwells
    // Four pixels go by vectors, the fifth alone: both ways agree.
    const int dwells[] = {-1, 2, 10, 2, 10};
    const float norms[] = {0.0f, 16.0f, 16.0f, 16.0f, 16.0f};
    std::uint8_t pixels[15];
    colorLine(coloring, dwells, norms, 5, 4.0f, pixels);
    EXPECT_EQ(std::vector<int>(pixels + 6, pixels + 9), std::vector<int>(pixels + 12, pixels + 15));
    EXPECT_EQ(std::vector<int>(pixels, pixels + 3), (std::vector<int>{1, 2, 3}));
    // Continuous dwells 3 and 11: a sixteenth and three quarters of a turn less a sixteenth.
    EXPECT_NEAR(pixels[3], 255 * 3.0 / 8, 2);
    EXPECT_NEAR(pixels[6], 255 * (1 - 3.0 / 8), 2);

    // Every path colours alike, pixel for pixel, wherever the values fall.
    if (!isAvailable(KernelPath::Avx2))
        GTEST_SKIP() << "no AVX2 to compare with";
    std::mt19937 random(17);
    const float special[] = {0.0f, 1.0f, 1.0000001f, 3.39e38f, INFINITY, NAN, -2.0f, 1e-30f};
    // 1001 pixels: the last vector group has nine, one too few for its stores.
    std::vector<int> lineDwells(1001);
    std::vector<float> lineNorms(lineDwells.size());
    for (std::size_t i = 0; i < lineDwells.size(); ++i) {
        lineDwells[i] = int(random() % 5000) - 300;
        lineNorms[i] = random() % 7 == 0 ? special[random() % 8]
                                         : std::ldexp(float(random() % 1000 + 1), random() % 60);
    }
    for (const double offset : {0.0, -7.3, 1e15, 3e16}) {
        for (const float bound : {4.0f, 1.0f, 1e6f}) {
            coloring.offset = offset;
            coloring.density = offset < 0 ? 1e-3 : 37.5;
            // A spare byte past the line shows a path writing beyond it.
            std::vector<std::uint8_t> scalar(3 * lineDwells.size() + 1, 0x5a),
                wide(scalar.size(), 0x5a);
            colorLineWith(KernelPath::Scalar, coloring, lineDwells.data(), lineNorms.data(),
                          int(lineDwells.size()), bound, scalar.data());
            colorLineWith(KernelPath::Avx2, coloring, lineDwells.data(), lineNorms.data(),
                          int(lineDwells.size()), bound, wide.data());
            EXPECT_EQ(scalar, wide) << offset << " " << bound;
        }
    }
}

} // namespace dwell
