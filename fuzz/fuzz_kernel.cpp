// Every vector path of the line kernel against the scalar reference: the
// same dwells and the same sum, whatever the inputs.
#include "KernelPaths.h"
#include "mandelScalar.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Line {
    double originX, originY, escape, x, y, step;
    int maxdwell;
    int w;
};

// Raw bit patterns reach NaNs, infinities and denormals; the tamed form keeps
// most inputs near the set, where the lanes finish at mixed times.
double tame(std::uint64_t bits, double centre, double span)
{
    return centre + span * (double(bits % 1000003) / 1000003.0 - 0.5);
}

Line decode(const std::uint8_t *data)
{
    std::array<std::uint64_t, 6> bits;
    std::memcpy(bits.data(), data + 2, sizeof bits);
    std::array<double, 6> v;
    std::memcpy(v.data(), bits.data(), sizeof v);
    std::int16_t limit;
    std::memcpy(&limit, data + 2 + sizeof v, sizeof limit);
    Line line{v[0], v[1], v[2], v[3], v[4], v[5], limit, data[1] % 200};
    if (data[0] & 1) {
        line.originX = (data[0] & 2) ? tame(bits[0], 0, 1) : 0;
        line.originY = (data[0] & 2) ? tame(bits[1], 0, 1) : 0;
        line.escape = (data[0] & 4) ? tame(bits[2], 2, 8) : 4;
        line.x = tame(bits[3], -0.75, 3);
        line.y = tame(bits[4], 0, 2.4);
        line.step = tame(bits[5], 0, 0.02);
        line.maxdwell = limit % 1200;
    }
    return line;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr std::size_t kInputSize = 2 + 6 * sizeof(double) + sizeof(std::int16_t);
    if (size < kInputSize)
        return 0;
    const Line l = decode(data);
    // One spare slot on each side shows a path writing outside the line.
    std::vector<int> expected(std::size_t(l.w) + 2, 0x5a5a5a5a);
    const int expectedSum = mandelLineScalar(l.originX, l.originY, l.escape, l.x, l.y, l.step,
                                             l.maxdwell, l.w, expected.data() + 1);
    for (const KernelPath path : kAllKernelPaths) {
        if (path == KernelPath::Scalar || !isAvailable(path))
            continue;
        std::vector<int> got(expected.size(), 0x5a5a5a5a);
        const int sum = mandelLineWith(path, l.originX, l.originY, l.escape, l.x, l.y, l.step,
                                       l.maxdwell, l.w, got.data() + 1);
        check(sum == expectedSum);
        check(got == expected);
    }
    return 0;
}
