#include "TestExplorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace dwell {

namespace {

// The worked window: from (-2, 1.5) at step 0.01, 400 x 300 pixels unless told, no workers.
struct WorkedExplorer : IdleExplorer {
    explicit WorkedExplorer(float width = 400, float height = 300) : IdleExplorer(width, height)
    {
        view.setPlaneWindow({-2.0, 1.5, 0.01});
    }
    // A press and a drag, not yet released.
    NSRect select(NSPoint from, NSPoint to)
    {
        view.mouseDown(from);
        view.mouseDragged(to);
        return view.mouseDragRect;
    }
    void expectWindow(double x, double y, double step)
    {
        EXPECT_DOUBLE_EQ(view.viewX, x);
        EXPECT_DOUBLE_EQ(view.viewY, y);
        EXPECT_DOUBLE_EQ(view.viewStep, step);
    }
};

} // namespace

TEST(Drawing, SizesBeyondTheTablesAreHeldToThem)
{
    EXPECT_EQ(IdleExplorer(20000, 10).view.frame.size, (NSSize{16384, 10}));
    EXPECT_EQ(IdleExplorer(std::nanf(""), -3).view.frame.size, (NSSize{0, 0}));
    IdleExplorer tall(10, 20000.5f);
    EXPECT_EQ(tall.view.height, 16384);
    tall.view.drawRect({{0, -5}, {10, 20}});
    tall.view.drawRect({{0, 16380}, {10, 1e30f}});
    tall.view.drawRect({{0, std::nanf("")}, {10, 3}});
    const auto &marks = tall.view.drawnTable;
    EXPECT_EQ(std::count(marks.begin(), marks.end(), 1), 15);
}

TEST(Mouse, ClickZoomsInByTwoAboutThePressedPointInSinglePrecision)
{
    // Fractional points on an odd-sized view, where double sums would differ.
    WorkedExplorer explorer(401, 301);
    MyView &view = explorer.view;
    // Switch states other than one are off: the click zooms, the lines keep their order.
    explorer.originSwitch.value = explorer.randomizerSwitch.value = 2;
    view.mouseDown({100.3f, 0.7f});
    view.mouseUp({390, 10}); // the release position is not used
    EXPECT_EQ(double(view.viewX), -2.0 + 0.01 * double(100.3f) - 0.01 * 401.0 * 0.25);
    EXPECT_EQ(double(view.viewY), 1.5 - 0.01 * double(301.0f - 0.7f) + 0.01 * 301.0 * 0.25);
    EXPECT_EQ(double(view.viewStep), 0.005);
    for (int p = 0; p < 301; ++p)
        EXPECT_EQ(int(view.lineTable[p]), p);

    view.setPlaneWindow({-2.0, 1.5, 0.01});
    const NSRect selection = explorer.select({50.3f, 0.7f}, {150.4f, 70.9f});
    view.mouseUp({150.4f, 70.9f});
    const float top = selection.origin.y + selection.size.height;
    EXPECT_EQ(double(view.viewX), -2.0 + 0.01 * double(selection.origin.x));
    EXPECT_EQ(double(view.viewY), 1.5 - 0.01 * double(301.0f - top));
    EXPECT_EQ(double(view.viewStep), 0.01 * double(float(selection.size.width / 401.0f)));
}

TEST(Mouse, DragSelectsTheViewsProportionsAndDropsSelectionsNarrowerThanTwelve)
{
    WorkedExplorer explorer;
    MyView &view = explorer.view;
    EXPECT_EQ(explorer.select({100, 200}, {300, 120}), (NSRect{{100, 50}, {200, 150}}));
    // A further drag erases the previous selection, then shows the new one.
    view.mouseDragged({300, 119});
    const auto requests = explorer.display.stripRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], requests[1]);
    EXPECT_EQ(requests[2], view.mouseDragRect);

    // Fitted against the right edge: a hair under 12 wide is dropped, 12 is taken.
    const float hair = std::nextafter(388.0f, 400.0f);
    EXPECT_LT(explorer.select({hair, 100}, {420, 124}).size.width, 12.0f);
    view.mouseUp({420, 124});
    explorer.expectWindow(-2.0, 1.5, 0.01);
    EXPECT_FALSE(view.isDragging || view.isSelecting);
    EXPECT_EQ(view.comp_sequence, 1);
    ASSERT_EQ(explorer.select({388, 100}, {420, 124}), (NSRect{{388, 100}, {12, 9}}));
    view.mouseUp({420, 124});
    EXPECT_EQ(view.comp_sequence, 2);
    EXPECT_FALSE(view.isDragging || view.isSelecting);
}

TEST(Mouse, OriginModeMovesTheStartingValueWhichOnlyItsOwnResetUndoes)
{
    WorkedExplorer explorer;
    MyView &view = explorer.view;
    const auto expectOrigin = [&view](double x, double y) {
        EXPECT_DOUBLE_EQ(view.originX, x);
        EXPECT_DOUBLE_EQ(view.originY, y);
    };
    explorer.originSwitch.value = 1;
    explorer.click({100, 200});
    expectOrigin(-1.0, 0.5);
    // After a drag, the selection's upper-left corner.
    explorer.drag({0, 300}, {40, 250});
    expectOrigin(-2.0, 1.5);
    explorer.expectWindow(-2.0, 1.5, 0.01);
    EXPECT_FALSE(view.canGoBack()) << "origin moves leave no window to go back to";
    // The view's reset restores the default window of 400 x 300 pixels, not the origin.
    view.resetButton(nullptr);
    explorer.expectWindow(-2.5, 1.5, 0.01);
    expectOrigin(-2.0, 1.5);
    EXPECT_EQ(view.comp_sequence, 4);
    view.doResetOriginButton(nullptr);
    expectOrigin(0.0, 0.0);
}

TEST(Controls, LaunchWindowAndMenusThatStartNothing)
{
    IdleExplorer explorer(512, 384);
    MyView &view = explorer.view;
    EXPECT_EQ(view.scene().window, (PlaneWindow{-2.5, 1.5, 0.0078125}));
    // The menus take their title's leading number.
    const std::pair<const char *, int> titles[] = {
        {"8 threads", 8}, {"  -3", -3}, {"+12x", 12}, {"none", 0}, {"99999999999", INT_MAX}};
    for (const auto &[title, value] : titles) {
        StaticMenu menu(title);
        view.doThreadMenu(&menu);
        view.doDwellMenu(&menu);
        EXPECT_EQ(view.num_threads, value) << title;
        EXPECT_EQ(view.max_dwells, value) << title;
    }
    EXPECT_EQ(view.comp_sequence, 1);
}

TEST(Report, ListsUnmarkedRowsAboveTheFirstMarkedOne)
{
    IdleExplorer explorer(40, 12);
    const auto report = [&] {
        testing::internal::CaptureStdout();
        explorer.view.doReportButton(nullptr);
        return testing::internal::GetCapturedStdout();
    };
    // A redisplay marks its truncated rows (5.7 and 2.9 mark 5 and 6); a full one, none.
    explorer.display.setNeedsDisplayInRect({{0, 5.7f}, {40, 2.9f}});
    explorer.display.setNeedsDisplayInRect({{0, 9}, {40, 1}});
    explorer.display.setNeedsDisplay(true);
    explorer.display.runPendingDisplays();
    const std::string expected =
        "line 7 not drawn!\nline 8 not drawn!\nline 10 not drawn!\nline 11 not drawn!\n";
    EXPECT_EQ(report(), expected);
    // A new pass starts with nothing marked.
    explorer.view.startButton(nullptr);
    EXPECT_EQ(report(), "");
}

TEST(History, BackRetracesGesturesExactlyAndKeepsTheLatestHundredZooms)
{
    WorkedExplorer explorer;
    MyView &view = explorer.view;
    std::vector<PlaneWindow> seen{view.scene().window};
    explorer.click({123, 77});
    seen.push_back(view.scene().window);
    explorer.drag({100, 200}, {300, 120});
    seen.push_back(view.scene().window);
    view.zoomOutButton(nullptr);
    seen.push_back(view.scene().window);
    view.resetButton(nullptr);

    const int passes = view.comp_sequence;
    for (int back = 1; !seen.empty(); ++back, seen.pop_back()) {
        view.backButton(nullptr);
        EXPECT_EQ(view.scene().window, seen.back());
        EXPECT_EQ(view.comp_sequence, passes + back);
    }
    EXPECT_FALSE(view.canGoBack());
    view.backButton(nullptr);
    EXPECT_EQ(view.comp_sequence, passes + 4);

    // Zooming out doubles about the centre.
    view.zoomOutButton(nullptr);
    explorer.expectWindow(-4.0, 3.0, 0.02);
    // A hundred windows are kept, the oldest dropped first.
    for (int zoom = 0; zoom < 150; ++zoom)
        view.zoomOutButton(nullptr);
    int steps = 0;
    for (; view.canGoBack(); ++steps)
        view.backButton(nullptr);
    EXPECT_EQ(steps, 100);
    EXPECT_DOUBLE_EQ(view.viewStep, 0.02 * (1LL << 50));
}

TEST(Coloring, RecoloursThePictureAtOnceWithoutAPass)
{
    TestExplorer explorer(120, 90);
    explorer.launch();
    ASSERT_TRUE(explorer.finishPass());
    const std::vector<std::uint8_t> digits = explorer.picture();
    const int pass = explorer.view.comp_sequence;

    // One colour for every escaped pixel, another for the interior.
    std::string error;
    Coloring plain;
    plain.palette =
        std::make_shared<const Palette>(*Palette::parse("0 #336699\n1 #336699\n", &error));
    plain.name = "plain";
    plain.interior = {9, 9, 9};
    explorer.view.setColoring(plain);
    EXPECT_EQ(explorer.view.comp_sequence, pass);
    // Bounded pixels, by the kernel's dwells, take the interior colour.
    const std::uint8_t escaped[] = {0x33, 0x66, 0x99}, interior[] = {9, 9, 9};
    std::vector<std::uint8_t> expected;
    for (int line = 0; line < 90; ++line)
        for (const int dwell : kernelLine(explorer.view.scene(), line, 120)) {
            const std::uint8_t *color = dwell < 0 ? interior : escaped;
            expected.insert(expected.end(), color, color + 3);
        }
    ASSERT_NE(std::count(expected.begin(), expected.end(), 9), 0);
    EXPECT_EQ(explorer.picture(), expected);
    EXPECT_EQ(explorer.view.scene().palette, "plain");
    explorer.view.setColoring(Coloring{});
    EXPECT_EQ(explorer.picture(), digits);
}

} // namespace dwell
