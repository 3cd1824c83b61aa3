#include "ExplorerWidget.h"
#include "ExplorerPlatform.h"
#include "FakeControls.h"
#include "KernelColors.h"
#include "MyView.h"
#include "QtInput.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace dwell {

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;
constexpr int kMaxDwell = 64;

Rgb rgbAt(const QImage &image, int x, int y)
{
    const QRgb pixel = image.pixel(x, y);
    return {std::uint8_t(qRed(pixel)), std::uint8_t(qGreen(pixel)), std::uint8_t(qBlue(pixel))};
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
        ASSERT_TRUE(finishPass());
        // Past the moment of activation, so that presses count as clicks.
        QTest::qWait(200);
    }

    void TearDown() override { m_container.reset(); }

    MyView &view() { return m_explorer->view(); }
    PlaneWindow plane() { return {view().viewX, view().viewY, view().viewStep}; }
    static std::vector<Rgb> lineOf(const PlaneWindow &plane, int line)
    {
        return expectedLine(Scene{plane, 0.0, 0.0, kMaxDwell}, line, kWidth);
    }

    int passNumber()
    {
        std::lock_guard lock(view().workLock);
        return view().comp_sequence;
    }

    // Waits for the pass to be stored, for its workers to end and for their
    // last redisplays to reach the surface.
    bool finishPass()
    {
        const bool stored = QTest::qWaitFor([this] {
            std::lock_guard lock(view().workLock);
            return view().lastLine >= view().height + view().num_threads;
        });
        const bool ended = m_explorer->platform().waitForWorkers(10000);
        QTest::qWait(50);
        return stored && ended;
    }

    // Rows of the surface that differ anywhere from the kernel's picture.
    int wrongRows(const QImage &image)
    {
        int wrong = 0;
        for (int line = 0; line < image.height(); ++line) {
            const std::vector<Rgb> expected =
                expectedLine(Scene{plane(), 0.0, 0.0, kMaxDwell}, line, image.width());
            for (int x = 0; x < image.width(); ++x) {
                if (rgbAt(image, x, line) != expected[std::size_t(x)]) {
                    ++wrong;
                    break;
                }
            }
        }
        return wrong;
    }

    std::unique_ptr<QWidget> m_container;
    ExplorerWidget *m_explorer = nullptr;
    QLineEdit *m_sibling = nullptr;
    FakeMenu m_threads{"2 threads"};
    FakeMenu m_dwells{"64 iterations"};
    FakeSwitch m_randomizer;
    FakeSwitch m_origin;
    FakeSwitch m_clear;
    FakeSlider m_escapeRadius;
};

} // namespace

TEST_F(ExplorerWidgetTest, WorkersStripsLandOnTheirImageLines)
{
    EXPECT_EQ(view().frame, (NSRect{{0, 0}, {kWidth, kHeight}}));
    EXPECT_EQ(m_explorer->surface().size(), QSize(kWidth, kHeight));
    EXPECT_EQ(wrongRows(m_explorer->surface()), 0);
    // Exposing the widget shows exactly the surface.
    const QImage shown = m_explorer->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, m_explorer->surface());
}

TEST_F(ExplorerWidgetTest, ResizeIsDrawnAtOnceSoAStartRightAfterItKeepsEveryLine)
{
    m_randomizer.value = 1;
    const int before = passNumber();
    m_explorer->setFixedSize(260, 120);
    EXPECT_EQ(view().frame.size, (NSSize{260, 120})) << "drawn before any later event";
    view().startButton(nullptr);
    ASSERT_TRUE(finishPass());
    EXPECT_EQ(passNumber(), before + 3) << "the resize's supersession and pass, then the start";
    EXPECT_EQ(view().height, 120);
    EXPECT_EQ(m_explorer->surface().size(), QSize(260, 120));
    EXPECT_EQ(wrongRows(m_explorer->surface()), 0);
}

TEST_F(ExplorerWidgetTest, MousePointsAndTheSelectionAreFlipped)
{
    const PlaneWindow old = plane();
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
    const std::vector<Rgb> above = lineOf(old, 19);
    const std::vector<Rgb> below = lineOf(old, 80);
    EXPECT_EQ(rgbAt(surface, 90, 19), above[90]);
    EXPECT_EQ(rgbAt(surface, 90, 80), below[90]);
    EXPECT_EQ(rgbAt(surface, 29, 50), lineOf(old, 50)[29]);

    // Releasing zooms into the selection.
    input::release(m_explorer, {130, 80});
    EXPECT_FALSE(view().isSelecting);
    ASSERT_TRUE(finishPass());
    EXPECT_EQ(wrongRows(m_explorer->surface()), 0) << "the selection is gone with the new pass";
}

TEST_F(ExplorerWidgetTest, ClickZoomsAboutThePressedPixelWithThePrimaryButtonOnly)
{
    const int before = passNumber();
    input::press(m_explorer, {50, 25}, Qt::RightButton);
    input::release(m_explorer, {50, 25}, Qt::RightButton);
    input::press(m_explorer, {50, 25}, Qt::MiddleButton);
    input::release(m_explorer, {50, 25}, Qt::MiddleButton);
    EXPECT_FALSE(view().isSelecting);
    EXPECT_EQ(passNumber(), before);

    input::click(m_explorer, {50, 25});
    EXPECT_EQ(passNumber(), before + 1);
    EXPECT_EQ(view().mouseDownPoint, (NSPoint{50, 75}));
    ASSERT_TRUE(finishPass());
    EXPECT_EQ(wrongRows(m_explorer->surface()), 0);
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
    ASSERT_TRUE(finishPass());
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
    const std::vector<Rgb> line40 = lineOf(plane(), 40);
    const std::vector<Rgb> line20 = lineOf(plane(), 20);
    ASSERT_NE(line40[20], (Rgb{0, 0, 0}));
    ASSERT_NE(line20[35], (Rgb{0, 0, 0}));

    testing::internal::CaptureStdout();
    input::key(m_container.get(), Qt::Key_Space);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "keydown\n");
    const QImage &surface = m_explorer->surface();
    EXPECT_EQ(rgbAt(surface, 20, 40), (Rgb{0, 0, 0}));
    EXPECT_EQ(rgbAt(surface, 35, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(rgbAt(surface, 150, 40), line40[150]) << "away from the stroke";

    // A worker's strip request for image line 40, made under the work lock.
    std::thread worker([this] {
        std::lock_guard lock(view().workLock);
        m_explorer->platform().setNeedsDisplayInRect({{0, float(kHeight - 1 - 40)}, {kWidth, 1}});
    });
    worker.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rgbAt(surface, 20, 40) == line40[20]; }));
    EXPECT_EQ(rgbAt(surface, 35, 20), (Rgb{0, 0, 0})) << "outside the strip the stroke stays";
    EXPECT_EQ(rgbAt(surface, 20, 39), (Rgb{0, 0, 0}));

    std::thread([this] { m_explorer->platform().setNeedsDisplay(true); }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rgbAt(surface, 35, 20) == line20[35]; }));
    EXPECT_EQ(wrongRows(surface), 0);
}

} // namespace dwell
