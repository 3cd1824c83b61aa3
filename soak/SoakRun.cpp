#include "SoakRun.h"

#include "GesturePerformer.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <regex>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

std::string format(const char *pattern, auto... values)
{
    char text[512];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

std::string describe(const Scene &scene)
{
    const PlaneWindow &p = scene.window;
    return format("plane window x=%.17g y=%.17g step=%.17g, origin %.17g,%.17g, dwell limit %d, "
                  "escape bound %.17g",
                  p.viewX, p.viewY, p.viewStep, scene.originX, scene.originY, scene.maxDwell,
                  scene.escapeRadius);
}

std::string hex(Rgb c)
{
    return format("#%02x%02x%02x", c[0], c[1], c[2]);
}

std::string firstDifference(const Screenshot &shot, const Picture &expected)
{
    for (std::size_t y = 0; y < expected.size() && int(y) < shot.height; ++y)
        for (std::size_t x = 0; x < expected[y].size() && int(x) < shot.width; ++x)
            if (shot.at(int(x), int(y)) != expected[y][x])
                return format("first difference at %zu,%zu: shown %s, expected %s", x, y,
                              hex(shot.at(int(x), int(y))).c_str(), hex(expected[y][x]).c_str());
    return format("shot is %dx%d", shot.width, shot.height);
}

} // namespace

SoakRun::SoakRun(const SoakOptions &options, std::string binary)
    : m_options(options), m_binary(std::move(binary)), m_model(kWidth, kHeight),
      m_source(options.seed, kWidth, kHeight)
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
    if (!settled(0))
        return false;
    m_layout = ControlLayout::locate(m_app->screenshot(), kWidth);
    if (!m_layout)
        return fail("the controls right of the view were not where the form puts them");
    return true;
}

bool SoakRun::settled(int number)
{
    if (!m_app->running())
        return fail(format("step %d: the app ended with status %d", number, m_app->exitStatus()));
    const Picture expected = expectedPicture(m_model.shown(), kWidth, kHeight);
    const double share = m_app->waitForPicture(expected, 20s);
    if (const std::string trouble = m_app->troubleInErrors(); !trouble.empty())
        return fail(format("step %d: standard error reports trouble:\n", number) + trouble);
    if (share == 1.0)
        return true;
    const Screenshot shot = m_app->screenshot();
    const std::string saved =
        format("/tmp/dwell_soak_%" PRIu32 "_step%d.ppm", m_options.seed, number);
    shot.writePpm(saved);
    return fail(format("step %d: after 20 s the view still differs from the kernel's picture "
                       "(%.4f%% of pixels match; ",
                       number, 100.0 * share) +
                firstDifference(shot, expected) + ")\n  expected " + describe(m_model.shown()) +
                "\n  screenshot saved to " + saved);
}

bool SoakRun::step(int number)
{
    const std::vector<Gesture> burst = m_source.burst(m_model);
    std::string line = format("step %d:", number);
    for (const Gesture &gesture : burst)
        line += " [" + gesture.describe() + "]";
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);

    const GesturePerformer performer(*m_app, *m_layout);
    for (const Gesture &gesture : burst) {
        performer.perform(gesture);
        m_model.apply(gesture);
        m_keys += gesture.kind == Gesture::Kind::Key;
        ++m_gestures;
        std::this_thread::sleep_for(std::chrono::milliseconds(m_source.pauseMs()));
    }
    return settled(number);
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
