#include "SoakRun.h"

#include "WindowSize.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <regex>
#include <thread>
#include <unistd.h>

namespace dwell {

using namespace std::chrono_literals;

namespace {

constexpr auto kSettleLimit = 20s;
// Time for the explorer to notice a new size, which it does when it next
// draws: a view of one colour could pass for settled before that.
constexpr auto kResizeNoticed = 300ms;

std::string format(const char *pattern, auto... values)
{
    char text[512];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

std::string describe(const ExplorerModel &model)
{
    const Scene &scene = model.shown();
    const PlaneWindow &p = scene.window;
    std::string limits;
    for (const int limit : model.passLimits())
        limits += (limits.empty() ? "" : " or ") + std::to_string(limit);
    return format("%dx%d view of plane window x=%.17g y=%.17g step=%.17g, origin %.17g,%.17g, ",
                  model.width(), model.height(), p.viewX, p.viewY, p.viewStep, scene.originX,
                  scene.originY) +
           "dwell limit " + limits + format(", escape bound %.17g", scene.escapeRadius);
}

// The same controls once a resize has moved the view's right edge, and the
// column with it, dx pixels to the right.
ControlLayout shiftedRight(ControlLayout layout, int dx)
{
    for (ControlLayout::Point *point :
         {&layout.threadMenu, &layout.dwellMenu, &layout.randomSwitch, &layout.originSwitch,
          &layout.clearSwitch, &layout.slider, &layout.start, &layout.reset, &layout.resetOrigin,
          &layout.report, &layout.zoomOut, &layout.back})
        point->x += dx;
    return layout;
}

void writePpm(const Screenshot &shot, const std::string &path)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << shot.width << ' ' << shot.height << "\n255\n";
    out.write(reinterpret_cast<const char *>(shot.rgb.data()), std::streamsize(shot.rgb.size()));
}

} // namespace

SoakRun::SoakRun(const SoakOptions &options, std::string binary)
    : m_options(options), m_binary(std::move(binary)), m_models{ExplorerModel(kWidth, kHeight)}
{
}

bool SoakRun::fail(const std::string &what)
{
    std::printf("FAIL (seed %" PRIu32 "): %s\nreplay with --seed %" PRIu32 "\n", m_options.seed,
                what.c_str(), m_options.seed);
    return false;
}

bool SoakRun::launch()
{
    if (m_xvfb.display().empty())
        return fail("Xvfb did not start");
    const std::string logs = "/tmp/dwell_soak_" + std::to_string(getpid());
    m_app = std::make_unique<AppUnderTest>(m_xvfb.display(), m_binary, logs);
    if (m_app->window().empty())
        return fail("no window titled Dwell appeared");
    // From the screen's corner the window can grow as far as the screen.
    m_app->xdotool("windowmove " + m_app->window() + " 0 0");
    // The first picture shows where the view begins, below the menu bar.
    if (m_app->waitForPicture(expectedPicture(m_models.front().shown(), kWidth, kHeight),
                              kSettleLimit) < 1.0)
        return fail("the launch picture did not appear");
    if (!settled(0))
        return false;
    m_layout = ControlLayout::locate(m_app->screenshot(), kWidth);
    if (!m_layout)
        return fail("the controls right of the view were not where the form puts them");
    return measureWindow();
}

bool SoakRun::measureWindow()
{
    const auto size = windowSize(m_xvfb.display(), m_app->window());
    if (!size)
        return fail("could not read the window's size");
    // The window opens at its layout's natural size, which the first picture
    // showed the view to have. Larger, only the view grows: the controls'
    // column and the status line keep their size, and the view's is the
    // window's less theirs. Smaller, the layout would squeeze them too.
    m_margins = {size->width - kWidth, size->height - kHeight};
    const GestureSource::ViewSizes range{
        kWidth, std::min(kWidestView, XvfbServer::kScreenWidth - m_margins.right), kHeight,
        std::min(kTallestView, XvfbServer::kScreenHeight - m_margins.bottom)};
    if (range.maxWidth <= range.minWidth || range.maxHeight < range.minHeight)
        return fail(
            format("no room on the screen to enlarge the %dx%d window", size->width, size->height));
    m_source.emplace(m_options.seed, range);
    return true;
}

bool SoakRun::settled(int number)
{
    if (const int status = m_app->waitForExit(0ms); status != -1)
        return fail(format("step %d: the app ended with status %d", number, status));
    std::vector<ExpectedView> expected;
    for (const ExplorerModel &model : m_models)
        expected.emplace_back(model);
    const Screenshot shot = waitForView(expected);
    if (const std::string trouble = m_app->troubleInErrors(); !trouble.empty())
        return fail(format("step %d: standard error reports trouble:\n", number) + trouble);
    std::vector<ExplorerModel> shown;
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (expected[i].shareShown(shot) == 1.0)
            shown.push_back(m_models[i]);
    if (!shown.empty()) {
        m_models = std::move(shown);
        return true;
    }
    const std::string saved =
        format("/tmp/dwell_soak_%" PRIu32 "_step%d.ppm", m_options.seed, number);
    writePpm(shot, saved);
    std::string what =
        format("step %d: after 20 s the view still differs from the kernel's picture", number);
    for (std::size_t i = 0; i < expected.size(); ++i)
        what += (i == 0 ? "\n  expected a " : "\n  or a ") + describe(m_models[i]) +
                format("\n  (%.4f%% of pixels match; ", 100.0 * expected[i].shareShown(shot)) +
                expected[i].firstDifference(shot) + ")";
    return fail(what + "\n  screenshot saved to " + saved);
}

Screenshot SoakRun::waitForView(const std::vector<ExpectedView> &expected) const
{
    const auto shown = [&](const Screenshot &shot) {
        return std::ranges::any_of(
            expected, [&](const ExpectedView &view) { return view.shareShown(shot) == 1.0; });
    };
    for (const auto deadline = std::chrono::steady_clock::now() + kSettleLimit;;) {
        Screenshot shot = m_app->screenshot();
        if (shown(shot) || std::chrono::steady_clock::now() >= deadline)
            return shot;
        std::this_thread::sleep_for(200ms);
    }
}

bool SoakRun::step(int number)
{
    std::vector<Gesture> burst = m_source->burst(m_models.front());
    std::string line = format("step %d:", number);
    for (const Gesture &gesture : burst)
        line += " [" + gesture.describe() + "]";
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);

    for (Gesture &gesture : burst) {
        if (!perform(gesture))
            return false;
        track(gesture);
        m_keys += gesture.kind == Gesture::Kind::Key;
        ++m_gestures;
        std::this_thread::sleep_for(std::chrono::milliseconds(m_source->pauseMs()));
    }
    if (std::ranges::any_of(burst, &Gesture::resizes))
        std::this_thread::sleep_for(kResizeNoticed);
    return settled(number);
}

bool SoakRun::perform(Gesture &gesture)
{
    GesturePerformer(*m_app, *m_layout, m_margins).perform(gesture);
    if (!gesture.resizes())
        return true;
    // The model follows the size the view took, whatever was asked; the
    // controls' column moves with the view's right edge.
    const auto size = windowSize(m_xvfb.display(), m_app->window());
    if (!size)
        return fail("could not read the window's size after resizing it");
    const int width = size->width - m_margins.right;
    m_layout = shiftedRight(*m_layout, width - m_models.front().width());
    gesture.width = width;
    gesture.height = size->height - m_margins.bottom;
    return true;
}

void SoakRun::track(const Gesture &gesture)
{
    std::vector<ExplorerModel> next;
    for (const ExplorerModel &model : m_models)
        for (ExplorerModel &outcome : model.outcomes(gesture))
            next.push_back(std::move(outcome));
    m_models = std::move(next);
}

bool SoakRun::closed()
{
    if (!m_app->requestClose())
        return fail("could not ask the window to close");
    const int status = m_app->waitForExit(10s);
    if (status == -1)
        return fail("the app did not exit within 10 s of the close request");
    if (status != 0)
        return fail(format("the app exited with status %d on closing", status));
    const std::string out = m_app->output();
    if (!std::regex_match(out, std::regex("(keydown\n|line [0-9]+ not drawn!\n)*")))
        return fail("unexpected standard output:\n" + out);
    const std::regex keydown("keydown\n");
    const auto printed = std::distance(std::sregex_iterator(out.begin(), out.end(), keydown),
                                       std::sregex_iterator());
    if (printed != m_keys)
        return fail(format("%d keys pressed but %d keydown lines printed", m_keys, int(printed)));
    if (const std::string trouble = m_app->troubleInErrors(); !trouble.empty())
        return fail("standard error reports trouble:\n" + trouble);
    return true;
}

int SoakRun::run()
{
    std::printf("soak: seed %" PRIu32 ", %d s\n", m_options.seed, m_options.seconds);
    std::fflush(stdout);
    if (!launch())
        return 1;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(m_options.seconds);
    int steps = 0;
    while (std::chrono::steady_clock::now() < end)
        if (!step(++steps))
            return 1;
    if (!closed())
        return 1;
    std::printf("soak passed: seed %" PRIu32 ", %d steps, %d gestures, %d pictures checked\n",
                m_options.seed, steps, m_gestures, steps + 1);
    return 0;
}

} // namespace dwell
