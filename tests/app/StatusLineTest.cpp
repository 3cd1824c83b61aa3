#include "StatusLine.h"
#include "StatusFigures.h"

#include <QLabel>

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

TEST(StatusLine, SaysSoWhenNoWorkerCouldStart)
{
    StatusLine line;
    line.watch([] { return PassStatus{3, 0, 300, 400, 0, Scene{{-2.5, 1.5, 0.01}}, 0.5, true}; });
    EXPECT_EQ(line.findChild<QLabel *>("timingLabel")->text(), "no worker thread could be started");
}

} // namespace dwell
