#include "TestExplorer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dwell {

namespace {

int markedRows(const MyView &view)
{
    int count = 0;
    for (int mark : view.drawnTable)
        count += mark != 0;
    return count;
}

// An explorer whose passes compute nothing, so that only drawing happens.
struct IdleExplorer : TestExplorer {
    IdleExplorer(float w = 400, float h = 300) : TestExplorer(w, h, "0 threads") { launch(); }
};

} // namespace

TEST(Drawing, FirstDisplayCreatesAWhiteImageAndStartsNothing)
{
    TestExplorer explorer(400, 300);
    explorer.display.makeKeyAndOrderFront();
    const MyView &view = explorer.view;
    EXPECT_EQ(view.frame, (NSRect{{0, 0}, {400, 300}}));
    EXPECT_EQ(view.height, 0);
    EXPECT_EQ(view.comp_sequence, 0);
    EXPECT_EQ(explorer.picture(), std::vector<std::uint8_t>(400 * 300 * 3, 0xff));
    EXPECT_EQ(explorer.threads.started, 0);
    EXPECT_EQ(markedRows(view), 0);
}

TEST(Drawing, ResizeKeepsTheCenterAndStartsOnePass)
{
    IdleExplorer explorer;
    MyView &view = explorer.view;
    view.setPlaneWindow({-2.0, 1.5, 0.01});

    explorer.display.setBounds({{0, 0}, {500, 300}});
    explorer.display.displayRect({{0, 0}, {500, 300}});
    EXPECT_DOUBLE_EQ(view.viewX, -2.5);
    EXPECT_DOUBLE_EQ(view.viewY, 1.5);
    EXPECT_EQ(view.height, 300);
    EXPECT_EQ(view.comp_sequence, 3);
    EXPECT_EQ(view.myImage->pixelsWide(), 500);
    EXPECT_EQ(explorer.display.shownPixels(), std::vector<std::uint8_t>(500 * 300 * 3, 0xff));
    // The start's own full redisplay finds the size settled.
    explorer.display.displayRect({{0, 0}, {500, 300}});
    EXPECT_EQ(view.comp_sequence, 3);

    explorer.display.setBounds({{0, 0}, {500, 200}});
    explorer.display.displayRect({{0, 0}, {500, 200}});
    EXPECT_DOUBLE_EQ(view.viewY, 1.0);
    EXPECT_EQ(view.height, 200);
    EXPECT_EQ(view.comp_sequence, 5);
}

TEST(Drawing, SizesBeyondTheTablesAreHeldToThem)
{
    IdleExplorer wide(20000, 10);
    EXPECT_EQ(wide.view.frame.size, (NSSize{16384, 10}));
    EXPECT_EQ(wide.view.myImage->byteCount(), 16384u * 10 * 3);

    IdleExplorer tall(10, 20000.5f);
    EXPECT_EQ(tall.view.height, 16384);
    tall.view.drawRect({{0, -5}, {10, 20}});
    tall.view.drawRect({{0, 16380}, {10, 1e30f}});
    tall.view.drawRect({{0, std::nanf("")}, {10, 3}});
    EXPECT_EQ(markedRows(tall.view), 15);

    IdleExplorer broken(std::nanf(""), -3);
    EXPECT_EQ(broken.view.frame.size, (NSSize{0, 0}));
    EXPECT_TRUE(std::isfinite(double(broken.view.viewStep)));
    EXPECT_TRUE(std::isfinite(double(broken.view.viewY)));
}

TEST(Drawing, PartialRedisplaysMarkTheRowsTheyCover)
{
    IdleExplorer explorer;
    MyView &view = explorer.view;
    view.drawRect({{0, 10}, {400, 1}});
    EXPECT_EQ(markedRows(view), 1);
    EXPECT_EQ(view.drawnTable[10], 1);

    view.drawRect({{0, 20.7f}, {400, 2.9f}});
    EXPECT_EQ(view.drawnTable[20], 1);
    EXPECT_EQ(view.drawnTable[21], 1);
    EXPECT_EQ(markedRows(view), 3);

    view.drawRect({{0, 0}, {400, 300}});
    view.drawRect({{0, 298}, {400, 2}});
    EXPECT_EQ(markedRows(view), 5);
    // Every drawing shows the whole image.
    for (const auto &op : explorer.display.takeOps()) {
        if (op.kind == FakeDisplay::OpKind::Image) {
            EXPECT_EQ(op.rect, (NSRect{{0, 0}, {400, 300}}));
        }
    }
}

TEST(Drawing, SelectionIsLaidOverTheImageOnlyWhileDragging)
{
    IdleExplorer explorer;
    MyView &view = explorer.view;
    view.isSelecting = true;
    view.mouseDragRect = {{100, 50}, {200, 150}};
    explorer.display.takeOps();
    view.drawRect({{0, 0}, {400, 300}});
    EXPECT_EQ(explorer.display.takeOps().size(), 1u);

    view.isDragging = true;
    view.drawRect({{0, 0}, {400, 300}});
    const auto ops = explorer.display.takeOps();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].kind, FakeDisplay::OpKind::Image);
    EXPECT_EQ(ops[1].kind, FakeDisplay::OpKind::Fill);
    EXPECT_EQ(ops[1].rect, view.mouseDragRect);
    EXPECT_EQ(ops[1].operation, CompositingOperation::SourceOver);
    EXPECT_EQ(ops[1].color, FakeDisplay::kHighlight.withAlphaComponent(0.35f));
    EXPECT_EQ(ops[2].kind, FakeDisplay::OpKind::Frame);
    EXPECT_EQ(ops[2].color, FakeDisplay::kHighlight);
}

} // namespace dwell
