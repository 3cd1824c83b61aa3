#include "DwellColors.h"
#include "DwellColor.h"
#include "KernelCase.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace dwell {

namespace {

class LineColors : public PathTest {
protected:
    // The line's pixels against each dwell coloured alone, with guard bytes
    // after the line that must stay untouched.
    void expectSame(const std::vector<int> &dwells, std::size_t offset) const
    {
        const std::size_t bytes = 3 * dwells.size();
        std::vector<std::uint8_t> expected(offset + bytes + 32, 0x5a);
        std::vector<std::uint8_t> actual = expected;
        for (std::size_t i = 0; i < dwells.size(); ++i)
            storeDwellColor(dwells[i], &expected[offset + 3 * i]);
        storeDwellColorsWith(GetParam(), dwells.data(), int(dwells.size()), &actual[offset]);
        ASSERT_EQ(actual, expected) << dwells.size() << " pixels at offset " << offset;
    }
};

TEST_P(LineColors, MatchTheOnePixelRule)
{
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> dwell(-1, 70000);
    std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> chance(0, 99);
    for (std::size_t count = 0; count <= 70; ++count)
        for (const std::size_t offset : {0, 1, 5}) {
            std::vector<int> dwells(count);
            for (int &d : dwells) {
                const int roll = chance(rng);
                // Mostly the kernel's dwells, with runs of bounded points and
                // now and then a value no kernel gives.
                d = roll < 30 ? -1 : roll < 33 ? anyInt(rng) : dwell(rng);
            }
            expectSame(dwells, offset);
        }
    expectSame(std::vector<int>(1024, -1), 3);
    expectSame({INT_MIN, INT_MAX, -2, -16, -17, 0, 15, 16, 255, 256, 4095, 4096, 65535, -1}, 0);
}

TEST_P(LineColors, OneHexDigitPerChannel)
{
    // By hand, not from storeDwellColor: on the scalar path this pins the rule itself.
    const struct {
        int dwell;
        int r, g, b;
    } cases[] = {{-1, 0, 0, 0},   {0, 0, 0, 0},         {1, 16, 0, 0},         {15, 240, 0, 0},
                 {16, 0, 16, 0},  {17, 16, 16, 0},      {100, 64, 96, 0},      {255, 240, 240, 0},
                 {256, 0, 0, 16}, {1000, 128, 224, 48}, {4095, 240, 240, 240}, {4096, 0, 0, 0},
                 {4097, 16, 0, 0}};
    std::vector<int> dwells;
    std::vector<std::uint8_t> expected;
    for (const auto &c : cases) {
        dwells.push_back(c.dwell);
        expected.insert(expected.end(), {std::uint8_t(c.r), std::uint8_t(c.g), std::uint8_t(c.b)});
    }
    std::vector<std::uint8_t> actual(expected.size());
    storeDwellColorsWith(GetParam(), dwells.data(), int(dwells.size()), actual.data());
    EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, LineColors, testing::ValuesIn(kAllKernelPaths), PathTest::name);

} // namespace

} // namespace dwell
