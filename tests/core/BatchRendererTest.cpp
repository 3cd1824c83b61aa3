#include "BatchRenderer.h"
#include "TestExplorer.h"

#include <gtest/gtest.h>

#include <vector>

namespace dwell {

TEST(BatchRenderer, RendersTheKernelsPictureOfTheRequestedWindow)
{
    RenderRequest request;
    request.width = 37;
    request.height = 23;
    request.centerX = -0.75;
    request.centerY = 0.1;
    request.planeWidth = 0.5;
    request.originX = 0.01;
    request.maxDwell = 700;
    request.escapeRadius = 9.0f;
    request.threads = 5;
    ASSERT_EQ(request.problem(), "");

    BatchRenderer renderer(request);
    renderer.start();
    ASSERT_TRUE(renderer.waitUntilDone(60000));
    const PassStatus status = renderer.status();
    EXPECT_TRUE(status.finished());
    EXPECT_EQ(status.linesStored, 23);

    const double step = 0.5 / 37;
    EXPECT_DOUBLE_EQ(status.scene.window.viewStep, step);
    EXPECT_DOUBLE_EQ(status.scene.window.viewX + step * 18.5, -0.75);
    EXPECT_DOUBLE_EQ(status.scene.window.viewY - step * 11.5, 0.1);

    const BitmapImage &image = renderer.image();
    ASSERT_EQ(image.pixelsWide(), 37);
    ASSERT_EQ(image.pixelsHigh(), 23);
    const Scene scene{status.scene.window, 0.01, 0.0, 700, 9.0};
    EXPECT_EQ(std::vector<std::uint8_t>(image.bitmapData(), image.bitmapData() + image.byteCount()),
              kernelPixels(scene, 37, 23));
    EXPECT_EQ(status.iterations, kernelTotal(scene, 37, 23));
}

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
