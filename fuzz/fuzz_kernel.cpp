// Every vector path of the line kernel against the scalar reference: the
// same dwells and the same sum, whatever the inputs, line by line and in
// blocks of lines; and the line's colours by a palette, the same on every path.
#include "Coloring.h"
#include "KernelPaths.h"
#include "mandelScalar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace dwell;

namespace {

struct Line {
    double originX, originY, escape, x, y, step;
    int maxdwell;
    int w;
};

// A flag byte, the width, six doubles and the limit.
constexpr std::size_t kInputSize =
    1 + sizeof(std::uint16_t) + 6 * sizeof(double) + sizeof(std::int32_t);

// Pixel iterations one run may spend on a line. The widest path keeps 32
// pixels in flight and steps them all even when the line is narrower, so a
// line counts as at least that wide.
constexpr long long kBudget = 1 << 21;
constexpr int kLanes = 32;

// Raw bit patterns reach NaNs, infinities and denormals; the tamed form keeps
// most inputs near the set, where the lanes finish at mixed times.
double tame(std::uint64_t bits, double centre, double span)
{
    return centre + span * (double(bits % 1000003) / 1000003.0 - 0.5);
}

Line decode(const std::uint8_t *data)
{
    std::uint16_t width;
    std::memcpy(&width, data + 1, sizeof width);
    std::array<std::uint64_t, 6> bits;
    std::memcpy(bits.data(), data + 1 + sizeof width, sizeof bits);
    std::array<double, 6> v;
    std::memcpy(v.data(), bits.data(), sizeof v);
    std::int32_t limit;
    std::memcpy(&limit, data + 1 + sizeof width + sizeof v, sizeof limit);
    // Small limits by default, where pixels reach the limit at mixed times;
    // flag 8 gives the whole range, huge and negative ones included.
    if (!(data[0] & 8))
        limit %= 4096;
    // From -1, a line with no pixels: mostly a few lanes' worth, where the
    // lanes run out of pixels at mixed times; flag 16 reaches the widest image.
    const int w = int(width % ((data[0] & 16) ? 16386 : 258)) - 1;
    Line line{v[0], v[1], v[2], v[3], v[4], v[5], limit, w};
    if (data[0] & 1) {
        line.originX = (data[0] & 2) ? tame(bits[0], 0, 1) : 0;
        line.originY = (data[0] & 2) ? tame(bits[1], 0, 1) : 0;
        line.escape = (data[0] & 4) ? tame(bits[2], 2, 8) : 4;
        line.x = tame(bits[3], -0.75, 3);
        line.y = tame(bits[4], 0, 2.4);
        line.step = tame(bits[5], 0, 0.02);
    }
    return line;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameNorm(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

// The line and the one three steps below it as one block of two, on every
// path, against the reference line by line, at a limit within the budget.
void checkBlock(const Line &l, int limit)
{
    const int w = std::max(l.w, 0);
    const double ys[2] = {l.y, l.y - 3 * l.step};
    std::vector<int> expected(2 * std::size_t(w));
    std::vector<float> expectedNorms(expected.size());
    int expectedSums[2];
    for (int k = 0; k < 2; ++k)
        expectedSums[k] =
            mandelLineScalar(l.originX, l.originY, l.escape, l.x, ys[k], l.step, limit, l.w,
                             expected.data() + k * w, expectedNorms.data() + k * w);
    for (const KernelPath path : kAllKernelPaths) {
        std::vector<int> got(expected.size() + 1, 0x5a5a5a5a);
        std::vector<float> norms(got.size(), -1.0f);
        int sums[3] = {0, 0, 0x5a5a5a5a};
        mandelLinesWith(path, l.originX, l.originY, l.escape, l.x, ys, 2, l.step, limit, l.w,
                        got.data(), norms.data(), sums);
        check(sums[0] == expectedSums[0] && sums[1] == expectedSums[1] && sums[2] == 0x5a5a5a5a);
        check(got.back() == 0x5a5a5a5a &&
              std::equal(expected.begin(), expected.end(), got.begin()));
        check(norms.back() == -1.0f &&
              std::equal(expectedNorms.begin(), expectedNorms.end(), norms.begin(), sameNorm));
    }
}

// The line coloured by a palette at a density and offset the input gives.
void checkColours(const Line &l, const int *dwells, const float *norms)
{
    static const std::shared_ptr<const Palette> palette = [] {
        std::string error;
        return std::make_shared<const Palette>(
            *Palette::parse("0 #000000\n0.3 #ff8000\n0.7 #2040ff\n", &error));
    }();
    Coloring coloring;
    coloring.palette = palette;
    coloring.density = l.step * 1e4;
    coloring.offset = l.y;
    const int w = std::max(l.w, 0);
    std::vector<std::uint8_t> reference(3 * std::size_t(w));
    colorLineWith(KernelPath::Scalar, coloring, dwells, norms, w, float(l.escape),
                  reference.data());
    for (const KernelPath path : kAllKernelPaths) {
        std::vector<std::uint8_t> pixels(reference.size());
        colorLineWith(path, coloring, dwells, norms, w, float(l.escape), pixels.data());
        check(pixels == reference);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < kInputSize)
        return 0;
    const Line l = decode(data);
    // The reference first runs with the limit cut to the budget over the
    // width. A longer limit is kept only if every pixel escaped under the
    // cut: every dwell is then known and the same for the longer limit, so no
    // run iterates past the budget. Otherwise the cut is the limit. Huge
    // limits thus come with lines that escape, and wide lines near the set
    // get short limits.
    const int cut = int(std::min<long long>(l.maxdwell, kBudget / std::max(l.w, kLanes)));
    // One spare slot on each side shows a path writing outside the line.
    std::vector<int> expected(std::size_t(std::max(l.w, 0)) + 2, 0x5a5a5a5a);
    std::vector<float> expectedNorms(expected.size(), -1.0f);
    const int expectedSum = mandelLineScalar(l.originX, l.originY, l.escape, l.x, l.y, l.step, cut,
                                             l.w, expected.data() + 1, expectedNorms.data() + 1);
    const bool allEscaped =
        std::find(expected.begin() + 1, expected.end() - 1, -1) == expected.end() - 1;
    const int limit = allEscaped ? l.maxdwell : cut;
    for (const KernelPath path : kAllKernelPaths) {
        // The reference at the uncut limit must agree with itself at the cut.
        if ((path == KernelPath::Scalar && limit == cut) || !isAvailable(path))
            continue;
        std::vector<int> got(expected.size(), 0x5a5a5a5a);
        std::vector<float> norms(expected.size(), -1.0f);
        const int sum = mandelLineWith(path, l.originX, l.originY, l.escape, l.x, l.y, l.step,
                                       limit, l.w, got.data() + 1, norms.data() + 1);
        check(sum == expectedSum);
        check(got == expected);
        // Bit for bit, but any NaN matches any NaN: the paths' NaNs may
        // carry different signs and payloads, which mean nothing.
        check(std::equal(norms.begin(), norms.end(), expectedNorms.begin(), sameNorm));
    }
    checkColours(l, expected.data() + 1, expectedNorms.data() + 1);
    // Blocks share their lanes from a limit of 4096; narrow lines reach it.
    checkBlock(l, l.w <= 256 ? 4096 + cut % 1024 : cut);
    return 0;
}
