// The explorer below what doubles resolve: gestures in full precision and
// passes drawn by the deep engine, checked with MPFR arithmetic of the test's own.
#include "BigFloat.h"
#include "DwellColors.h"
#include "TestExplorer.h"

#include <gtest/gtest.h>

namespace dwell {

namespace {

constexpr long kBits = 2400;
constexpr int kWidth = 64;
constexpr int kHeight = 48;

// a + s * times, in ample precision.
void addSteps(BigFloat &out, const std::string &a, const ExtendedFloat &s, double times)
{
    BigFloat step(kBits);
    out.set(a);
    step.set(s);
    mpfr_mul_d(step.get(), step.get(), times, MPFR_RNDN);
    mpfr_add(out.get(), out.get(), step.get(), MPFR_RNDN);
}

// Expects window's corner at from's + from.step * (across, -down), to a billionth of a step.
void expectCorner(const ExactWindow &window, const ExactWindow &from, double across, double down)
{
    BigFloat expected(kBits), value(kBits), step(kBits);
    step.set(window.step);
    const auto stepsApart = [&](const std::string &text, const std::string &a, double times) {
        addSteps(expected, a, from.step, times);
        value.set(text);
        mpfr_sub(value.get(), value.get(), expected.get(), MPFR_RNDN);
        mpfr_div(value.get(), value.get(), step.get(), MPFR_RNDN);
        return std::abs(mpfr_get_d(value.get(), MPFR_RNDN));
    };
    EXPECT_LT(stepsApart(window.x, from.x, across), 1e-9);
    EXPECT_LT(stepsApart(window.y, from.y, -down), 1e-9);
}

} // namespace

TEST(DeepView, GesturesAtDepthAreExactAndTheDeepEngineDrawsThePass)
{
    TestExplorer explorer(kWidth, kHeight, "2 threads", "2000 iterations");
    MyView &view = explorer.view;
    explorer.launch();
    // A click past where doubles resolve the view: the exact window moves on from theirs.
    view.setPlaneWindow({-0.75, 0.1, 2e-14});
    explorer.click({40, 12});
    const ExactWindow shallow = ExactWindow::of({view.viewX, view.viewY, view.viewStep});
    explorer.click({40, 12});
    EXPECT_EQ((view.exactWindow.step / shallow.step).toDouble(), 0.5);
    expectCorner(view.exactWindow, shallow, 40 - kWidth * 0.25, kHeight * 0.75 - 12);

    // Centred on i, where there is structure at every depth, 1e-500 across.
    const ExtendedFloat step{0.5, -1665};
    BigFloat x(kBits), y(kBits);
    addSteps(x, "0", step, -kWidth / 2);
    addSteps(y, "1", step, kHeight / 2);
    const ExactWindow start{x.toText(), y.toText(), step};
    view.setExactWindow(start);
    EXPECT_EQ(view.viewStep, 0.0) << "the step is past the doubles";

    explorer.click({40, 12});
    ASSERT_EQ(view.exactWindow.step.exponent, step.exponent - 1);
    expectCorner(view.exactWindow, start, 40 - kWidth * 0.25, kHeight * 0.75 - 12);

    const ExactWindow clicked = view.exactWindow;
    explorer.drag({10, 10}, {40, 40});
    const NSRect rect = view.mouseDragRect;
    expectCorner(view.exactWindow, clicked, rect.origin.x,
                 kHeight - (rect.origin.y + rect.size.height));
    EXPECT_EQ((view.exactWindow.step / clicked.step).toDouble(), double(rect.size.width / kWidth));

    ASSERT_TRUE(explorer.finishPass());
    const ExactWindow shown = view.exactWindow;
    EXPECT_TRUE(view.passStatus().finished());
    const std::vector<std::uint8_t> picture = explorer.picture();
    // Each sampled pixel against direct iteration from 0 at corner + step * (column, -line).
    int escaped = 0;
    for (int line = 0; line < kHeight; line += 5)
        for (int column = 1; column < kWidth; column += 7) {
            BigFloat cr(kBits), ci(kBits);
            addSteps(cr, shown.x, shown.step, column);
            addSteps(ci, shown.y, shown.step, -line);
            const int dwell = mpfrDwell(cr, ci, 2000);
            escaped += dwell >= 0;
            std::uint8_t expected[3];
            storeDwellColors(&dwell, 1, expected);
            const std::size_t at = 3 * (std::size_t(line) * kWidth + std::size_t(column));
            EXPECT_TRUE(std::equal(expected, expected + 3, picture.begin() + long(at)))
                << "pixel " << column << ", " << line << " dwell " << dwell;
        }
    EXPECT_GT(escaped, 0);

    // Back returns to the exact window before the drag, Forward to the drag's.
    view.backButton(nullptr);
    EXPECT_TRUE(view.exactWindow.x == clicked.x && view.exactWindow.y == clicked.y);
    view.forwardButton(nullptr);
    EXPECT_EQ(view.exactWindow.x, shown.x);

    // Three notches of the wheel zoom in by 2^1.5 about the pointer's plane point.
    view.scrollWheel({20, 30}, 3.0);
    const ExactWindow &wheeled = view.exactWindow;
    EXPECT_DOUBLE_EQ((wheeled.step / shown.step).toDouble(), std::exp2(-1.5));
    BigFloat pointerX(kBits), pointerY(kBits);
    addSteps(pointerX, shown.x, shown.step, 20);
    addSteps(pointerY, shown.y, shown.step, -(kHeight - 30));
    expectCorner(wheeled, {pointerX.toText(), pointerY.toText(), wheeled.step}, -20,
                 -(kHeight - 30));
    EXPECT_FALSE(view.canGoForward()) << "a new zoom forgets the way forward";
}

} // namespace dwell
