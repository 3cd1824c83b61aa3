#include "PendingRedisplays.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace dwell {

constexpr NSRect kBounds{{0, 0}, {200, 100}};
constexpr auto strip = [](float row) { return NSRect{{0, row}, {200, 1}}; };

TEST(PendingRedisplays, MergesClipsAndSkipsEmptyRequests)
{
    int scheduled = 0;
    PendingRedisplays pending([&] { ++scheduled; });

    pending.add(strip(10));
    pending.add(strip(40));
    EXPECT_EQ(scheduled, 1) << "one flush carries every request made before it runs";
    EXPECT_EQ(pending.take(kBounds), (NSRect{{0, 10}, {200, 31}}));
    EXPECT_FALSE(pending.take(kBounds)) << "taking empties the queue";

    pending.add({{-50, 90}, {100, 30}});
    EXPECT_EQ(scheduled, 2) << "a request after a take schedules again";
    EXPECT_EQ(pending.take(kBounds), (NSRect{{0, 90}, {50, 10}})) << "clipped to the bounds";

    pending.add({{0, 0}, {0, 1}});
    pending.add({{0, 0}, {10, -1}});
    pending.add({{0, 0}, {NAN, 1}});
    EXPECT_EQ(scheduled, 2) << "empty and NaN requests schedule nothing";
    pending.add({{300, 300}, {10, 10}});
    EXPECT_FALSE(pending.take(kBounds)) << "a request outside the bounds draws nothing";

    pending.add(strip(5));
    pending.addWholeView();
    EXPECT_EQ(pending.take(kBounds), kBounds);
}

TEST(PendingRedisplays, RequestsFromManyThreadsAreAllCoveredAndCloseStopsThem)
{
    std::atomic<int> scheduled = 0;
    PendingRedisplays pending([&] { ++scheduled; });

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&pending, t] {
            for (int row = t; row < 100; row += 4)
                pending.add(strip(float(row)));
        });
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(scheduled, 1);
    EXPECT_EQ(pending.take(kBounds), kBounds);

    pending.close();
    pending.add(strip(3));
    pending.addWholeView();
    EXPECT_EQ(scheduled, 1) << "nothing is scheduled once closed";
    EXPECT_FALSE(pending.take(kBounds));
}

} // namespace dwell
