#include "RenderRequest.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dwell {

TEST(RenderRequest, RejectsRequestsItCannotRender)
{
    auto problemWith = [](auto change) {
        RenderRequest request;
        change(request);
        return request.problem();
    };
    EXPECT_NE(problemWith([](RenderRequest &r) { r.height = 65537; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) { r.planeWidth = 1.0 / 0.0; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) { r.maxDwell = 0; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) { r.threads = 0; }), "");
    EXPECT_EQ(problemWith([](RenderRequest &r) { r.width = 65536; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) { r.widthText = "1e-1000x"; }), "");
    EXPECT_EQ(problemWith([](RenderRequest &r) { r.widthText = "1e-1000"; }), "");
    EXPECT_NE(problemWith([](RenderRequest &r) {
                  r.widthText = "1e-1000";
                  r.planeWidth = 0;
                  r.engine = Engine::Exact;
              }),
              "");
}

TEST(RenderRequest, HandsOverToTheDeepEngineWhereDoublesStopResolvingPixels)
{
    // 1024 pixels around 0.75 (ulp 2^-53): the deep engine takes over below a step of 64 ulps.
    const auto deepAt = [](double width, Engine engine = Engine::Auto) {
        RenderRequest request;
        request.centerX = 0.75;
        request.planeWidth = width;
        request.engine = engine;
        return request.usesDeepEngine();
    };
    const double ulp = std::ldexp(1.0, -53);
    EXPECT_FALSE(deepAt(1024 * 64 * ulp * 1.01));
    EXPECT_TRUE(deepAt(1024 * 64 * ulp * 0.99));
    EXPECT_TRUE(deepAt(0.0));
    EXPECT_TRUE(deepAt(4.0, Engine::Deep));
}

} // namespace dwell
