#include "StatusLine.h"
#include "ExplorerPlatform.h"
#include "ExplorerWidget.h"
#include "MainWindow.h"
#include "MyView.h"
#include "StatusFigures.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

namespace dwell {

TEST(StatusFigures, FormatThePassesFigures)
{
    // The launch window of a 400 x 300 view.
    EXPECT_EQ(StatusFigures::windowText({-2.5, 1.5, 0.01}, 400, 300),
              QString::fromUtf8("centre -0.5, 0 \u00b7 width 4"));
    EXPECT_EQ(StatusFigures::windowText({-1, 1, 0.5}, 4, 2),
              QString::fromUtf8("centre 0, 0.5 \u00b7 width 2"));
    EXPECT_EQ(StatusFigures::windowText({-1, 1, 0}, 4, 2), "") << "no window without a step";
    // Deep in a zoom, centres one pixel apart still differ in the text.
    const PlaneWindow deep{-0.7436439, 0.1318259, 1e-14};
    EXPECT_NE(StatusFigures::windowText(deep, 400, 300),
              StatusFigures::windowText({deep.viewX + 1e-14, deep.viewY, deep.viewStep}, 400, 300));

    EXPECT_EQ(StatusFigures::rateText(1'234'000'000, 1.0), "1.23 G iterations/s");
    EXPECT_EQ(StatusFigures::rateText(3'000, 2.0), "1.50 k iterations/s");
    EXPECT_EQ(StatusFigures::rateText(500, 1.0), "500.00 iterations/s");
    EXPECT_EQ(StatusFigures::rateText(500, 0.0), "");
    EXPECT_EQ(StatusFigures::durationText(0.01849), "18.5 ms");
    EXPECT_EQ(StatusFigures::durationText(0.9999), "999.9 ms");
    EXPECT_EQ(StatusFigures::durationText(0.99996), "1.00 s");
    EXPECT_EQ(StatusFigures::durationText(2.345), "2.35 s");
}

TEST(StatusLine, ShowsTheFinishedPassUnderTheView)
{
    MainWindow window;
    window.explorer().launch();
    MyView &view = window.explorer().view();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.explorer().passStatus().finished(); }));
    ASSERT_TRUE(window.explorer().platform().waitForWorkers(10000));

    auto &line = *window.findChild<StatusLine *>("statusLine");
    line.refresh();
    const PassStatus status = window.explorer().passStatus();
    const auto &progress = *line.findChild<QProgressBar *>("passProgress");
    EXPECT_EQ(progress.maximum(), status.height);
    EXPECT_EQ(progress.value(), status.height);
    EXPECT_EQ(line.findChild<QLabel *>("passLabel")->text(),
              QString("Pass %1").arg(status.sequence));
    EXPECT_EQ(line.findChild<QLabel *>("windowLabel")->text(),
              StatusFigures::windowText(status.scene.window, status.width, status.height));
    EXPECT_EQ(status.height, view.height);
    // A finished pass shows the core's own time for it, and the rate it gives.
    ASSERT_GT(status.seconds, 0);
    EXPECT_EQ(line.findChild<QLabel *>("timingLabel")->text(),
              StatusFigures::durationText(status.seconds) + QString::fromUtf8(" \u00b7 ") +
                  StatusFigures::rateText(status.iterations, status.seconds));
    // The line sits below the view and leaves its size alone.
    EXPECT_GE(line.geometry().top(), window.explorer().geometry().bottom());
    EXPECT_EQ(window.explorer().size(), window.explorer().sizeHint());
}

TEST(StatusLine, SaysSoWhenNoWorkerCouldStart)
{
    StatusLine line;
    line.watch([] { return PassStatus{3, 0, 300, 400, 0, Scene{{-2.5, 1.5, 0.01}}, 0.5, true}; });
    EXPECT_EQ(line.findChild<QLabel *>("timingLabel")->text(), "no worker thread could be started");
}

} // namespace dwell
