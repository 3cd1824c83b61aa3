#include "MainWindow.h"
#include "ExplorerWidget.h"
#include "MyView.h"
#include "QtInput.h"
#include "Slider.h"
#include "StatusFigures.h"
#include "StatusLine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace dwell {

namespace {

template <typename T> T &child(QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        throw std::runtime_error(std::string("no control named ") + name);
    return *found;
}

} // namespace

TEST(MainWindow, FormHasTheControlsWithTheirFirstValues)
{
    MainWindow window;
    EXPECT_EQ(window.windowTitle(), "Dwell");

    const QComboBox &threads = child<QComboBox>(window, "threadMenu");
    // The nearest count to the machine's cores is chosen.
    const int ideal = QThread::idealThreadCount();
    const int chosen = threads.currentText().split(' ').front().toInt();
    for (int i = 0; i < threads.count(); ++i)
        EXPECT_LE(std::abs(chosen - ideal),
                  std::abs(threads.itemText(i).split(' ').front().toInt() - ideal));

    const QComboBox &dwells = child<QComboBox>(window, "dwellMenu");
    EXPECT_EQ(dwells.currentText(), "1024 iterations");

    for (const char *name : {"randomizerSwitch", "originSwitch", "clearSwitch"})
        EXPECT_FALSE(child<QCheckBox>(window, name).isChecked()) << name;

    QSlider &slider = child<QSlider>(window, "escapeRadiusSlider");
    const QLabel &value = child<QLabel>(window, "escapeRadiusValue");
    const Slider &outlet = *window.explorer().view().escapeRadiusSlider;
    EXPECT_EQ(outlet.floatValue(), 4.0f);
    EXPECT_EQ(value.text(), "4.0");
    slider.setValue(slider.minimum());
    EXPECT_LE(outlet.floatValue(), 1.0f);
    slider.setValue(slider.maximum());
    EXPECT_GE(outlet.floatValue(), 100.0f);
    slider.setValue(123);
    EXPECT_EQ(outlet.floatValue(), 12.3f);
    EXPECT_EQ(value.text(), "12.3");
}

TEST(MainWindow, ViewSitsTopLeftAndFollowsTheWindow)
{
    MainWindow window;
    window.explorer().launch();
    ExplorerWidget &explorer = window.explorer();
    MyView &view = explorer.view();
    EXPECT_EQ(explorer.geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(explorer.maximumSize(), QSize(16384, 16384));
    EXPECT_EQ(view.frame, (NSRect{{0, 0}, {640, 480}})) << "drawn once before the launch went on";
    ASSERT_TRUE(waitForPass(explorer));

    // The status line sits below the view and shows the finished pass.
    auto &line = child<StatusLine>(window, "statusLine");
    EXPECT_GE(line.geometry().top(), explorer.geometry().bottom());
    line.refresh();
    const PassStatus status = explorer.passStatus();
    EXPECT_EQ(status.height, 480);
    EXPECT_EQ(child<QProgressBar>(line, "passProgress").maximum(), 480);
    EXPECT_EQ(child<QProgressBar>(line, "passProgress").value(), 480);
    EXPECT_EQ(child<QLabel>(line, "passLabel").text(), QString("Pass %1").arg(status.sequence));
    EXPECT_EQ(child<QLabel>(line, "windowLabel").text(),
              StatusFigures::windowText(status.scene.window, status.width, status.height));
    // A finished pass shows the core's own time for it, and the rate it gives.
    ASSERT_GT(status.seconds, 0);
    EXPECT_EQ(child<QLabel>(line, "timingLabel").text(),
              StatusFigures::durationText(status.seconds) + QString::fromUtf8(" \u00b7 ") +
                  StatusFigures::rateText(status.iterations, status.seconds));

    // A resize is drawn at once, so a start right after it finds the size
    // settled: with the lines in random order, it keeps every one of them.
    child<QComboBox>(window, "dwellMenu").setCurrentText("256 iterations");
    child<QCheckBox>(window, "randomizerSwitch").setChecked(true);
    const int before = view.comp_sequence;
    window.resize(window.width() + 100, window.height() + 50);
    EXPECT_EQ(explorer.size(), QSize(740, 530));
    EXPECT_EQ(view.frame.size, (NSSize{740, 530})) << "drawn at once";
    child<QPushButton>(window, "startButton").click();
    ASSERT_TRUE(waitForPass(explorer));
    EXPECT_EQ(view.comp_sequence, before + 3)
        << "the resize's supersession and pass, then the start";
    EXPECT_EQ(view.height, 530);
    EXPECT_EQ(explorer.surface().size(), QSize(740, 530));
    EXPECT_EQ(wrongRows(explorer.surface(), view.scene()), 0);
}

TEST(MainWindow, ControlsReachTheirActions)
{
    MainWindow window;
    window.explorer().launch();
    MyView &view = window.explorer().view();
    auto &back = child<QPushButton>(window, "backButton");
    EXPECT_FALSE(back.isEnabled()) << "nowhere to go back to";
    EXPECT_EQ(view.max_dwells, 1024);
    EXPECT_EQ(view.num_threads,
              child<QComboBox>(window, "threadMenu").currentText().split(' ').front().toInt());

    child<QComboBox>(window, "dwellMenu").setCurrentText("256 iterations");
    EXPECT_EQ(view.max_dwells, 256);
    child<QComboBox>(window, "threadMenu").setCurrentText("4 threads");
    EXPECT_EQ(view.num_threads, 4);

    const int before = view.comp_sequence;
    child<QPushButton>(window, "startButton").click();
    EXPECT_EQ(view.comp_sequence, before + 1);

    view.viewStep = 1.0;
    child<QPushButton>(window, "resetButton").click();
    EXPECT_EQ(view.viewStep, 4.0 / 640);
    EXPECT_EQ(view.comp_sequence, before + 2);

    view.originX = 0.25;
    child<QPushButton>(window, "resetOriginButton").click();
    EXPECT_EQ(view.originX, 0.0);
    EXPECT_EQ(view.comp_sequence, before + 3);

    const double step = view.viewStep;
    child<QPushButton>(window, "zoomOutButton").click();
    EXPECT_EQ(view.viewStep, 2 * step);
    back.click();
    EXPECT_EQ(view.viewStep, step);
    EXPECT_EQ(view.comp_sequence, before + 5);
    back.click(); // to the window the reset left
    EXPECT_EQ(view.viewStep, 1.0);
    EXPECT_FALSE(back.isEnabled());

    // With only the fourth row from the top drawn, the three above it are reported.
    view.drawnTable.fill(0);
    const int h = view.height;
    view.drawnTable[std::size_t(h - 4)] = 1;
    testing::internal::CaptureStdout();
    child<QPushButton>(window, "reportButton").click();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "line " + std::to_string(h - 3) + " not drawn!\nline " + std::to_string(h - 2) +
                  " not drawn!\nline " + std::to_string(h - 1) + " not drawn!\n");
}

} // namespace dwell
