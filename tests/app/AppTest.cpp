#include "ExplorerWidget.h"
#include "GoToDialog.h"
#include "KernelOracle.h"
#include "MainWindow.h"
#include "MyView.h"
#include "PicturePng.h"
#include "Slider.h"
#include "StaticControls.h"
#include "StatusFigures.h"
#include "StatusLine.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace dwell {

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// Waits until the pass is stored, its workers have ended and their redisplays have landed.
bool waitForPass(ExplorerWidget &explorer)
{
    MyView &view = explorer.view();
    const bool stored = QTest::qWaitFor([&view] {
        std::lock_guard lock(view.workLock);
        return view.comp_sequence > 0 && view.lastLine >= view.height + view.num_threads;
    });
    const bool ended = explorer.platform().waitForWorkers(10000);
    QTest::qWait(50);
    return stored && ended;
}

// The kernel's picture of the scene, w x h pixels.
QImage kernelImage(const Scene &scene, int w, int h)
{
    const std::vector<std::uint8_t> pixels = kernelPixels(scene, w, h);
    return QImage(pixels.data(), w, h, 3 * w, QImage::Format_RGB888).copy();
}

// Whether the surface shows exactly the kernel's picture of the scene.
bool showsKernelPicture(const QImage &surface, const Scene &scene)
{
    return surface.convertToFormat(QImage::Format_RGB888) ==
           kernelImage(scene, surface.width(), surface.height());
}

template <typename T> T &child(QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        throw std::runtime_error(std::string("no control named ") + name);
    return *found;
}

constexpr int kWidth = 200;
constexpr int kHeight = 100;
const QRgb kBlack = qRgb(0, 0, 0);

// A launched explorer beside a focusable sibling, first pass complete. Input goes to the
// window, as the platform delivers it, so that activation and focus take part.
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
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_container.get()));
        ASSERT_TRUE(waitForPass(*m_explorer));
        // Past the moment of activation, so that presses count as clicks.
        QTest::qWait(200);
    }

    MyView &view() { return m_explorer->view(); }
    QImage kernelPicture() { return kernelImage(view().scene(), kWidth, kHeight); }
    bool surfaceShowsScene() { return showsKernelPicture(m_explorer->surface(), view().scene()); }
    int passNumber()
    {
        std::lock_guard lock(view().workLock);
        return view().comp_sequence;
    }

    QWindow *window() { return m_container->windowHandle(); }
    QPoint at(QPoint point) { return m_explorer->mapTo(m_container.get(), point); }
    void press(QPoint point, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(window(), button, {}, at(point));
    }
    void release(QPoint point, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(window(), button, {}, at(point));
    }
    // A key press, optionally auto-repeated (QTest's clicks cannot be), and else its release.
    void key(Qt::Key key, bool autoRepeat = false)
    {
        if (!qt_sendShortcutOverrideEvent(window(), 0, key, Qt::NoModifier, QString(), autoRepeat))
            qt_handleKeyEvent(window(), QEvent::KeyPress, key, Qt::NoModifier, QString(),
                              autoRepeat);
        if (!autoRepeat)
            qt_handleKeyEvent(window(), QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::processEvents();
    }

    // Declared before the window, so that they outlive the explorer that reads them.
    StaticMenu m_threads{"2 threads"}, m_dwells{"64 iterations"};
    StaticSwitch m_randomizer, m_origin, m_clear;
    StaticSlider m_escapeRadius;
    std::unique_ptr<QWidget> m_container;
    ExplorerWidget *m_explorer = nullptr;
    QLineEdit *m_sibling = nullptr;
};

} // namespace

TEST_F(ExplorerWidgetTest, MousePointsAndTheSelectionAreFlipped)
{
    // Only the primary button selects and zooms.
    const int before = passNumber();
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        press({50, 25}, button);
        release({50, 25}, button);
    }
    EXPECT_FALSE(view().isSelecting);
    EXPECT_EQ(passNumber(), before);

    const QImage old = kernelPicture();
    press({30, 20});
    EXPECT_EQ(view().mouseDownPoint, (NSPoint{30, 80}));
    // On a 2:1 view this drag selects 120 x 60 anchored at the press point.
    QTest::mouseMove(window(), at({130, 80}));
    QTest::qWait(50);
    const QImage &surface = m_explorer->surface();
    // Qt rows 20-79, columns 30-149: a one-pixel frame, a translucent fill, the picture outside.
    const QRgb highlight = m_explorer->palette().color(QPalette::Highlight).rgb();
    for (const QPoint edge : {QPoint(30, 20), QPoint(149, 79), QPoint(90, 20), QPoint(30, 50)})
        EXPECT_EQ(surface.pixel(edge), highlight) << edge.x() << ", " << edge.y();
    EXPECT_NE(surface.pixel(90, 50), highlight);
    EXPECT_NE(surface.pixel(90, 50), old.pixel(90, 50));
    for (const QPoint outside : {QPoint(90, 19), QPoint(90, 80), QPoint(29, 50), QPoint(150, 50)})
        EXPECT_EQ(surface.pixel(outside), old.pixel(outside)) << outside.x() << ", " << outside.y();
    // Releasing zooms into the selection.
    release({130, 80});
    EXPECT_FALSE(view().isSelecting);
    EXPECT_EQ(passNumber(), before + 1);
    ASSERT_TRUE(waitForPass(*m_explorer));
    EXPECT_TRUE(surfaceShowsScene()) << "the selection is gone with the new pass";
}

TEST_F(ExplorerWidgetTest, TheClickThatActivatesTheWindowOnlyActivates)
{
    QWidget other;
    other.resize(50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_FALSE(m_explorer->isActiveWindow());

    const int before = passNumber();
    press({50, 25});
    release({50, 25});
    EXPECT_FALSE(view().isSelecting);
    EXPECT_EQ(passNumber(), before) << "no zoom from a click into an inactive window";

    m_container->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_container.get()));
    press({50, 25});
    EXPECT_FALSE(view().isSelecting) << "a press on the heels of the activation";
    release({50, 25});
    EXPECT_EQ(passNumber(), before);

    QTest::qWait(200);
    press({50, 25});
    release({50, 25});
    EXPECT_EQ(passNumber(), before + 1);
}

TEST_F(ExplorerWidgetTest, EveryKeyPressReachesKeyDownAndItsStrokeVanishesOnlyWhereRedisplayed)
{
    // Exposing the widget shows exactly the surface.
    EXPECT_EQ(m_explorer->grab().toImage().convertToFormat(QImage::Format_RGB32),
              m_explorer->surface());
    // The stroke rises 4 for 3 across from view (-100, -100): through Qt (20, 40) and (35, 20).
    const QImage picture = kernelPicture();
    ASSERT_NE(picture.pixel(20, 40), kBlack);
    ASSERT_NE(picture.pixel(35, 20), kBlack);

    key(Qt::Key_Space);
    const QImage &surface = m_explorer->surface();
    EXPECT_EQ(surface.pixel(20, 40), kBlack);
    EXPECT_EQ(surface.pixel(35, 20), kBlack);
    EXPECT_EQ(surface.pixel(150, 40), picture.pixel(150, 40)) << "away from the stroke";
    // A worker's strip request for image line 40, made under the work lock.
    std::thread([this] {
        std::lock_guard lock(view().workLock);
        m_explorer->platform().setNeedsDisplayInRect({{0, float(kHeight - 1 - 40)}, {kWidth, 1}});
    }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return surface.pixel(20, 40) == picture.pixel(20, 40); }));
    EXPECT_EQ(surface.pixel(20, 39), kBlack) << "outside the strip the stroke stays";

    std::thread([this] { m_explorer->platform().setNeedsDisplay(true); }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return surface.pixel(35, 20) == picture.pixel(35, 20); }));
    EXPECT_TRUE(surfaceShowsScene());

    CaptureStdout();
    for (const Qt::Key k : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Escape, Qt::Key_A})
        key(k);
    key(Qt::Key_A, true);
    key(Qt::Key_A, true);
    key(Qt::Key_Shift);
    // Seven presses: modifiers alone are none.
    EXPECT_EQ(GetCapturedStdout(),
              "keydown\nkeydown\nkeydown\nkeydown\nkeydown\nkeydown\nkeydown\n");
    EXPECT_TRUE(m_explorer->hasFocus()) << "Tab must not move the focus to the sibling";
}

TEST(MainWindow, ThreadMenuStartsNearTheCoresTheSliderScalesTheBoundAndRunsRememberThem)
{
    {
        MainWindow window;
        QComboBox &threads = child<QComboBox>(window, "threadMenu");
        // The nearest count to the machine's cores is chosen.
        const int ideal = QThread::idealThreadCount();
        const int chosen = threads.currentText().split(' ').front().toInt();
        for (int i = 0; i < threads.count(); ++i)
            EXPECT_LE(std::abs(chosen - ideal),
                      std::abs(threads.itemText(i).split(' ').front().toInt() - ideal));
        QSlider &slider = child<QSlider>(window, "escapeRadiusSlider");
        const QLabel &value = child<QLabel>(window, "escapeRadiusValue");
        const Slider &outlet = *window.explorer().view().escapeRadiusSlider;
        EXPECT_EQ(value.text(), "4.0");
        slider.setValue(slider.minimum());
        EXPECT_LE(outlet.floatValue(), 1.0f);
        slider.setValue(slider.maximum());
        EXPECT_GE(outlet.floatValue(), 100.0f);
        slider.setValue(123);
        EXPECT_EQ(outlet.floatValue(), 12.3f);
        EXPECT_EQ(value.text(), "12.3");
        threads.setCurrentText("4 threads");
        child<QComboBox>(window, "dwellMenu").setCurrentText("256 iterations");
        window.resize(900, 700);
        window.close();
    }
    MainWindow window;
    EXPECT_EQ(child<QComboBox>(window, "threadMenu").currentText(), "4 threads");
    EXPECT_EQ(window.explorer().view().max_dwells, 256);
    EXPECT_EQ(child<QSlider>(window, "escapeRadiusSlider").value(), 123);
    EXPECT_EQ(window.size(), QSize(900, 700));
    QSettings().clear();
}

TEST(MainWindow, ViewSitsTopLeftAndFollowsTheWindow)
{
    MainWindow window;
    window.explorer().launch();
    ExplorerWidget &explorer = window.explorer();
    MyView &view = explorer.view();
    // Below the menu bar, at the window's left.
    const QMenuBar *menus = window.findChild<QMenuBar *>();
    ASSERT_TRUE(menus);
    EXPECT_EQ(explorer.geometry(), QRect(0, menus->geometry().bottom() + 1, 640, 480));
    EXPECT_EQ(view.frame, (NSRect{{0, 0}, {640, 480}})) << "drawn once before the launch went on";
    ASSERT_TRUE(waitForPass(explorer));
    // Below the view, the status line shows a finished pass's own time, which stands still,
    // and its rate; once a control changes, what the next start takes.
    auto &line = child<StatusLine>(window, "statusLine");
    const QLabel &timing = child<QLabel>(line, "timingLabel");
    EXPECT_GE(line.geometry().top(), explorer.geometry().bottom());
    line.refresh();
    const PassStatus status = explorer.passStatus();
    ASSERT_GT(status.seconds, 0);
    EXPECT_EQ(timing.text(), StatusFigures::durationText(status.seconds) +
                                 QString::fromUtf8(" \u00b7 ") +
                                 StatusFigures::rateText(status.iterations, status.seconds));
    child<QComboBox>(window, "dwellMenu").setCurrentText("256 iterations");
    line.refresh();
    EXPECT_TRUE(timing.text().endsWith("dwell limit 256, escape bound 4.0 from the next start"))
        << qPrintable(timing.text());
    // A resize keeps the centre and is drawn at once, so a start right after finds it settled.
    const int before = view.comp_sequence;
    const PlaneWindow old = view.scene().window;
    window.resize(window.width() + 100, window.height() + 50);
    EXPECT_EQ(view.frame.size, (NSSize{740, 530}));
    EXPECT_DOUBLE_EQ(view.viewX, old.viewX - old.viewStep * 50);
    EXPECT_DOUBLE_EQ(view.viewY, old.viewY + old.viewStep * 25);
    child<QPushButton>(window, "startButton").click();
    ASSERT_TRUE(waitForPass(explorer));
    EXPECT_EQ(view.comp_sequence, before + 3)
        << "the resize's supersession and pass, then the start";
    EXPECT_EQ(explorer.surface().size(), QSize(740, 530));
    EXPECT_TRUE(showsKernelPicture(explorer.surface(), view.scene()));
    line.refresh();
    EXPECT_FALSE(timing.text().contains("next start")) << qPrintable(timing.text());
}

TEST(MainWindow, ControlsAndMenuKeysReachTheirActionsAndGoToMovesTheViewExactly)
{
    MainWindow window;
    window.explorer().launch();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    MyView &view = window.explorer().view();
    auto &back = child<QPushButton>(window, "backButton");
    EXPECT_FALSE(back.isEnabled()) << "nowhere to go back to";
    child<QComboBox>(window, "threadMenu").setCurrentText("4 threads");
    EXPECT_EQ(view.num_threads, 4);

    // Every button starts one pass.
    const int before = view.comp_sequence;
    view.viewStep = 1.0;
    view.originX = 0.25;
    for (const char *name : {"startButton", "resetButton", "resetOriginButton", "zoomOutButton"})
        child<QPushButton>(window, name).click();
    EXPECT_EQ(view.originX, 0.0);
    EXPECT_EQ(view.viewStep, 8.0 / 640) << "reset, then zoomed out";
    back.click();
    back.click(); // to the window the reset left
    EXPECT_EQ(view.viewStep, 1.0);
    EXPECT_FALSE(back.isEnabled());
    EXPECT_EQ(view.comp_sequence, before + 6);

    // The menus' keys: Zoom Out, Back, Forward, and one no menu takes; the step after each.
    const Qt::Key keys[] = {Qt::Key_Minus, Qt::Key_BracketLeft, Qt::Key_BracketRight, Qt::Key_K};
    const double steps[] = {2.0, 1.0, 2.0, 2.0};
    CaptureStdout();
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(window.windowHandle(), keys[i], Qt::ControlModifier);
        EXPECT_EQ(view.viewStep, steps[i]) << i;
    }
    EXPECT_EQ(GetCapturedStdout(), "keydown\n") << "only a key no menu takes reaches the view";

    GoToDialog dialog(window.location());
    child<QLineEdit>(dialog, "centerX").setText("-0.75");
    child<QLineEdit>(dialog, "centerY").setText("0.1");
    child<QLineEdit>(dialog, "width").setText("1e-1OO");
    dialog.accept();
    EXPECT_FALSE(dialog.window()) << "a width that is no number";
    EXPECT_FALSE(child<QLabel>(dialog, "problem").isHidden());
    child<QLineEdit>(dialog, "width").setText("1e-100");
    dialog.accept();
    ASSERT_TRUE(dialog.window());
    window.explorer().goTo(*dialog.window());
    const Scene scene = view.scene();
    ASSERT_TRUE(scene.deep());
    EXPECT_NEAR(std::stod(scene.exactWidth) / 1e-100, 1.0, 1e-15);
    EXPECT_EQ(std::stod(scene.exactCenterX), -0.75);
    EXPECT_EQ(std::stod(scene.exactCenterY), 0.1);

    // Its picture, saved, leads back to the same view.
    ASSERT_TRUE(waitForPass(window.explorer()));
    const std::optional<PassPicture> picture = view.picture();
    ASSERT_TRUE(picture && picture->complete);
    QTemporaryDir dir;
    const QString png = dir.filePath("deep.png");
    QString error;
    ASSERT_TRUE(writePicturePng(png, picture->image, picture->scene, &error));
    window.explorer().resetView();
    EXPECT_FALSE(view.scene().deep());
    window.openLocation(png);
    const Scene opened = view.scene();
    EXPECT_EQ(opened.exactCenterX + " " + opened.exactCenterY + " " + opened.exactWidth,
              scene.exactCenterX + " " + scene.exactCenterY + " " + scene.exactWidth);
    EXPECT_TRUE(waitForPass(window.explorer()));
}

// Run by its own test with QT_SCALE_FACTOR=2; skipped on an unscaled display.
TEST(ScaledDisplay, OneImagePixelPerDevicePixel)
{
    MainWindow window;
    window.explorer().launch();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    if (window.devicePixelRatioF() < 1.5) {
        ASSERT_FALSE(qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) << "the scale was not applied";
        GTEST_SKIP() << "the display is not scaled";
    }
    ExplorerWidget &explorer = window.explorer();
    ASSERT_TRUE(waitForPass(explorer));
    const QSize device = explorer.size() * 2;
    EXPECT_EQ(explorer.view().frame.size, (NSSize{float(device.width()), float(device.height())}));
    EXPECT_EQ(explorer.surface().size(), device);
    EXPECT_TRUE(showsKernelPicture(explorer.surface(), explorer.view().scene()));
    // A location of the view is as wide as the view's own pixels.
    EXPECT_EQ(window.location().width, device.width());
    EXPECT_EQ(std::stod(window.location().exactWidth()), explorer.view().viewStep * device.width());
    // A press at a point of the widget is the device pixel under it.
    QTest::qWait(200);
    const QPoint point = explorer.mapTo(&window, QPoint(50, 25));
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, point);
    EXPECT_EQ(explorer.view().mouseDownPoint, (NSPoint{100, float(device.height() - 50)}));
}

TEST(StatusFigures, FormatThePassesFiguresAndAFailedPassSaysSo)
{
    // The launch window of a 400 x 300 view.
    EXPECT_EQ(StatusFigures::windowText({-2.5, 1.5, 0.01}, 400, 300),
              QString::fromUtf8("centre -0.5, 0 \u00b7 width 4"));
    EXPECT_EQ(StatusFigures::windowText({-1, 1, 0}, 4, 2), "") << "no window without a step";
    // Deep in a zoom, centres one pixel apart still differ in the text.
    const PlaneWindow deep{-0.7436439, 0.1318259, 1e-14};
    EXPECT_NE(StatusFigures::windowText(Scene{deep}, 400, 300),
              StatusFigures::windowText(Scene{{deep.viewX + 1e-14, deep.viewY, deep.viewStep}}, 400,
                                        300));
    // Past the doubles, the exact width at any exponent and a centre cut short.
    Scene far{{0.0, 0.0, 0.0}};
    far.exactCenterX = "-1.7400623825793399052208441670658828694961150" + std::string(500, '1');
    far.exactCenterY = "0.0";
    far.exactWidth = "3.20000000000000017763568394002504646778106689453125e-512";
    EXPECT_EQ(StatusFigures::windowText(far, 400, 300),
              QString::fromUtf8("deep \u00b7 centre -1.740062382\u2026, 0 \u00b7 width "
                                "3.2e-512"));

    EXPECT_EQ(StatusFigures::rateText(1'234'000'000, 1.0), "1.23 G iterations/s");
    EXPECT_EQ(StatusFigures::rateText(500, 2.0), "250.00 iterations/s");
    EXPECT_EQ(StatusFigures::rateText(500, 0.0), "");
    EXPECT_EQ(StatusFigures::durationText(0.9999), "999.9 ms");
    EXPECT_EQ(StatusFigures::durationText(0.99996), "1.00 s");

    StatusLine line;
    line.watch([] { return PassStatus{3, 0, 300, 400, 0, Scene{{-2.5, 1.5, 0.01}}, 0.5, true}; });
    EXPECT_EQ(line.findChild<QLabel *>("timingLabel")->text(), "no worker thread could be started");
}

} // namespace dwell

// Qt is not built with ThreadSanitizer, whose reports on it are false; ours stay checked.
extern "C" const char *__tsan_default_options()
{
    return "ignore_noninstrumented_modules=1";
}

// The widgets need an application on the main thread; without a display, offscreen will do.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    // Settings in a place of the tests' own, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QSettings().clear();
    return RUN_ALL_TESTS();
}
