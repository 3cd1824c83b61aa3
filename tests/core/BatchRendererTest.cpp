#include "RenderRequest.h"

#include <gtest/gtest.h>

namespace dwell {

TEST(BatchRenderer, RejectsRequestsItCannotRender)
{
    auto problemWith = [](auto change) {
        RenderRequest request;
        change(request);
        return request.problem();
    };
    EXPECT_NE(problemWith([](RenderRequest &r) { r.width = 0; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) { r.height = 16385; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) { r.planeWidth = -1; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) { r.planeWidth = 1.0 / 0.0; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) { r.maxDwell = 0; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) { r.threads = 0; }), "");
    EXPECT_EQ(problemWith([](RenderRequest &r) { r.width = 16384; }), "");
}

} // namespace dwell
