#pragma once

#include "KernelPaths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dwell {

// One line's arguments, as the worker threads pass them.
struct LineArgs {
    double originX = 0;
    double originY = 0;
    double bound = 4;
    double x = 0;
    double y = 0;
    double step = 0;
    int maxdwell = 10;
    int w = 1;
};

// What a path wrote: the dwells and the sum. The line is computed into the
// middle of a larger, odd-offset buffer whose guards must come back untouched.
struct LineResult {
    std::vector<int> dwells;
    int sum = 0;
    bool guardsIntact = false;

    bool operator==(const LineResult &) const = default;
};

LineResult runLine(KernelPath path, const LineArgs &args);
std::string describe(const LineArgs &args);

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

} // namespace dwell
