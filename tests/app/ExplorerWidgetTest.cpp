#include "ExplorerWidget.h"
#include "ExplorerPlatform.h"
#include "KernelOracle.h"
#include "MyView.h"
#include "QtInput.h"
#include "StaticControls.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>

namespace dwell {

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;

using Rgb = std::array<std::uint8_t, 3>;

Rgb rgbAt(const QImage &image, int x, int y)
{
    const QRgb pixel = image.pixel(x, y);
    return {std::uint8_t(qRed(pixel)), std::uint8_t(qGreen(pixel)), std::uint8_t(qBlue(pixel))};
}

// A pixel of a picture of the view's size, in the image buffer's format.
Rgb rgbAt(const std::vector<std::uint8_t> &picture, int x, int y)
{
    const std::size_t at = 3 * (std::size_t(y) * kWidth + std::size_t(x));
    return {picture[at], picture[at + 1], picture[at + 2]};
}

// A launched explorer widget beside a focusable sibling, on the offscreen
// platform, with its first pass complete.
class ExplorerWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_container = std::make_unique<QWidget>();
        auto *layout = new QHBoxLayout(m_container.get());
        layout->setContentsMargins(0, 0, 0, 0);
        m_explorer = new ExplorerWidget;
        m_explorer->setFixedSize(kWidth, kHeight);
        layout->addWidget(m_explorer);
        m_sibling = new QLineEdit;
        layout->addWidget(m_sibling);

        view().connectOutlets(
            {&m_threads, &m_dwells, &m_randomizer, &m_origin, &m_clear, &m_escapeRadius});
        m_explorer->launch();
        ASSERT_TRUE(input::waitForActive(m_container.get()));
        ASSERT_TRUE(waitForPass(*m_explorer));
        // Past the moment of activation, so that presses count as clicks.
        QTest::qWait(200);
    }

    void TearDown() override { m_container.reset(); }

    MyView &view() { return m_explorer->view(); }
    // What the kernel makes of the view's scene now.
    std::vector<std::uint8_t> kernelPicture()
    {
        return kernelPixels(view().scene(), kWidth, kHeight);
    }
    int wrongSurfaceRows() { return wrongRows(m_explorer->surface(), view().scene()); }

    int passNumber()
    {
        std::lock_guard lock(view().workLock);
        return view().comp_sequence;
    }

    std::unique_ptr<QWidget> m_container;
    ExplorerWidget *m_explorer = nullptr;
    QLineEdit *m_sibling = nullptr;
    StaticMenu m_threads{"2 threads"};
    StaticMenu m_dwells{"64 iterations"};
    StaticSwitch m_randomizer;
    StaticSwitch m_origin;
    StaticSwitch m_clear;
    StaticSlider m_escapeRadius;
};

} // namespace

TEST_F(ExplorerWidgetTest, WorkersStripsLandOnTheirImageLines)
{
    EXPECT_EQ(view().frame, (NSRect{{0, 0}, {kWidth, kHeight}}));
    EXPECT_EQ(m_explorer->surface().size(), QSize(kWidth, kHeight));
    EXPECT_EQ(wrongSurfaceRows(), 0);
    // Exposing the widget shows exactly the surface.
    const QImage shown = m_explorer->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, m_explorer->surface());
}

TEST_F(ExplorerWidgetTest, MousePointsAndTheSelectionAreFlipped)
{
    // Only the primary button selects and zooms.
    const int before = passNumber();
    input::press(m_explorer, {50, 25}, Qt::RightButton);
    input::release(m_explorer, {50, 25}, Qt::RightButton);
    input::press(m_explorer, {50, 25}, Qt::MiddleButton);
    input::release(m_explorer, {50, 25}, Qt::MiddleButton);
    EXPECT_FALSE(view().isSelecting);
    EXPECT_EQ(passNumber(), before);

    const std::vector<std::uint8_t> old = kernelPicture();
    input::press(m_explorer, {30, 20});
    EXPECT_TRUE(view().isSelecting);
    EXPECT_EQ(view().mouseDownPoint, (NSPoint{30, 80}));

    // On a 2:1 view this drag selects 120 x 60 anchored at the press point.
    input::move(m_explorer, {130, 80});
    EXPECT_EQ(view().mouseDragPoint, (NSPoint{130, 20}));
    ASSERT_EQ(view().mouseDragRect, (NSRect{{30, 20}, {120, 60}}));
    QTest::qWait(50);
    const QImage &surface = m_explorer->surface();
    const QColor highlight = m_explorer->palette().color(QPalette::Highlight);
    const Rgb frame{std::uint8_t(highlight.red()), std::uint8_t(highlight.green()),
                    std::uint8_t(highlight.blue())};
    // Qt rows 20 to 79 and columns 30 to 149: the frame's top-left corner,
    // and the picture just outside it.
    EXPECT_EQ(rgbAt(surface, 30, 20), frame);
    EXPECT_EQ(rgbAt(surface, 90, 19), rgbAt(old, 90, 19));
    EXPECT_EQ(rgbAt(surface, 90, 80), rgbAt(old, 90, 80));
    EXPECT_EQ(rgbAt(surface, 29, 50), rgbAt(old, 29, 50));

    // Releasing zooms into the selection.
    input::release(m_explorer, {130, 80});
    EXPECT_FALSE(view().isSelecting);
    EXPECT_EQ(passNumber(), before + 1);
    ASSERT_TRUE(waitForPass(*m_explorer));
    EXPECT_EQ(wrongSurfaceRows(), 0) << "the selection is gone with the new pass";
}

TEST_F(ExplorerWidgetTest, TheClickThatActivatesTheWindowOnlyActivates)
{
    QWidget other;
    other.resize(50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(input::waitForActive(&other));
    ASSERT_FALSE(m_explorer->isActiveWindow());

    const int before = passNumber();
    input::click(m_explorer, {50, 25});
    EXPECT_FALSE(view().isSelecting);
    EXPECT_EQ(passNumber(), before) << "no zoom from a click into an inactive window";

    m_container->activateWindow();
    ASSERT_TRUE(input::waitForActive(m_container.get()));
    input::press(m_explorer, {50, 25});
    EXPECT_FALSE(view().isSelecting) << "a press on the heels of the activation";
    input::release(m_explorer, {50, 25});
    EXPECT_EQ(passNumber(), before);

    QTest::qWait(200);
    input::click(m_explorer, {50, 25});
    EXPECT_EQ(passNumber(), before + 1);
    ASSERT_TRUE(waitForPass(*m_explorer));
}

TEST_F(ExplorerWidgetTest, EveryKeyPressReachesKeyDownAndKeepsTheFocus)
{
    ASSERT_TRUE(m_explorer->hasFocus()) << "the view has the focus at launch";
    testing::internal::CaptureStdout();
    input::key(m_container.get(), Qt::Key_Tab);
    input::key(m_container.get(), Qt::Key_Backtab);
    input::key(m_container.get(), Qt::Key_Left);
    input::key(m_container.get(), Qt::Key_Escape);
    input::key(m_container.get(), Qt::Key_A);
    input::key(m_container.get(), Qt::Key_A, true);
    input::key(m_container.get(), Qt::Key_A, true);
    input::key(m_container.get(), Qt::Key_Shift);
    std::string out = testing::internal::GetCapturedStdout();
    std::string expected;
    for (int i = 0; i < 7; ++i)
        expected += "keydown\n";
    EXPECT_EQ(out, expected) << "modifiers alone are no key presses";
    EXPECT_TRUE(m_explorer->hasFocus()) << "Tab must not move the focus to the sibling";
    EXPECT_FALSE(m_sibling->hasFocus());
}

TEST_F(ExplorerWidgetTest, KeyStrokeVanishesOnlyWhereRedisplayed)
{
    // The stroke's centre line rises 4 for 3 across from view (-100, -100):
    // it crosses Qt pixel (20, 40) and (35, 20).
    const std::vector<std::uint8_t> picture = kernelPicture();
    ASSERT_NE(rgbAt(picture, 20, 40), (Rgb{0, 0, 0}));
    ASSERT_NE(rgbAt(picture, 35, 20), (Rgb{0, 0, 0}));

    testing::internal::CaptureStdout();
    input::key(m_container.get(), Qt::Key_Space);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "keydown\n");
    const QImage &surface = m_explorer->surface();
    EXPECT_EQ(rgbAt(surface, 20, 40), (Rgb{0, 0, 0}));
    EXPECT_EQ(rgbAt(surface, 35, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(rgbAt(surface, 150, 40), rgbAt(picture, 150, 40)) << "away from the stroke";

    // A worker's strip request for image line 40, made under the work lock.
    std::thread worker([this] {
        std::lock_guard lock(view().workLock);
        m_explorer->platform().setNeedsDisplayInRect({{0, float(kHeight - 1 - 40)}, {kWidth, 1}});
    });
    worker.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rgbAt(surface, 20, 40) == rgbAt(picture, 20, 40); }));
    EXPECT_EQ(rgbAt(surface, 35, 20), (Rgb{0, 0, 0})) << "outside the strip the stroke stays";
    EXPECT_EQ(rgbAt(surface, 20, 39), (Rgb{0, 0, 0}));

    std::thread([this] { m_explorer->platform().setNeedsDisplay(true); }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rgbAt(surface, 35, 20) == rgbAt(picture, 35, 20); }));
    EXPECT_EQ(wrongSurfaceRows(), 0);
}

} // namespace dwell
