#include "DeepRenderer.h"

#include "BigFloat.h"
#include "mandel.h"

#include <atomic>
#include <chrono>
#include <system_error>
#include <thread>
#include <vector>

namespace dwell {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Lines taken in turn from a shared counter; returns the lines' iterations.
long long renderLines(const DeepRequest &request, const DeepLines &lines,
                      std::atomic<int> &nextLine, BitmapImage &image)
{
    const DeepWindow &window = request.window;
    std::vector<int> dwells(std::size_t(window.width));
    std::vector<float> norms(std::size_t(window.width));
    long long iterations = 0;
    for (int line; (line = nextLine++) < window.height;) {
        lines.compute(line, dwells.data(), norms.data());
        iterations += lineIterations(dwells.data(), window.width, request.maxDwell);
        colorLine(request.coloring, dwells.data(), norms.data(), window.width,
                  float(request.escapeRadius),
                  image.bitmapData() + std::size_t(line) * std::size_t(image.bytesPerRow()));
    }
    return iterations;
}

} // namespace

std::optional<ExtendedFloat> parseDecimal(const std::string &text)
{
    BigFloat value(64);
    if (!value.set(text))
        return std::nullopt;
    return value.toExtended();
}

std::optional<ExtendedFloat> pixelStep(const std::string &width, int pixels)
{
    BigFloat value(128);
    if (!value.set(width) || pixels < 1)
        return std::nullopt;
    mpfr_div_si(value.get(), value.get(), pixels, MPFR_RNDN);
    return value.toExtended();
}

std::unique_ptr<DeepLines> DeepLines::prepare(const DeepRequest &request)
{
    const Clock::time_point start = Clock::now();
    const DeepWindow &window = request.window;
    ReferencePoint point{window.centerX,
                         window.centerY,
                         request.originX,
                         request.originY,
                         request.escapeRadius,
                         request.maxDwell,
                         referencePrecision(window.step),
                         window.step};
    ReferenceOrbit orbit = ReferenceOrbit::compute(point);
    if (orbit.empty())
        return nullptr;
    const double referenceSeconds = secondsSince(start);
    std::unique_ptr<DeepLines> lines(new DeepLines(request, std::move(orbit)));
    lines->m_referenceSeconds = referenceSeconds;
    lines->m_tableSeconds = secondsSince(start) - referenceSeconds;
    return lines;
}

DeepLines::DeepLines(const DeepRequest &request, ReferenceOrbit orbit)
    : m_window(request.window), m_maxDwell(request.maxDwell), m_orbit(std::move(orbit))
{
    // The table refers to the orbit, which stays where it is from here on.
    m_perturbation.emplace(m_orbit, m_window, request.escapeRadius, request.shortcuts);
}

void DeepLines::compute(int line, int *dwells, float *norms) const
{
    for (int column = 0; column < m_window.width; ++column) {
        double norm = 0.0;
        dwells[column] = m_perturbation->dwell(m_window.offset(column, line), m_maxDwell, &norm);
        norms[column] = float(norm);
    }
}

std::optional<DeepPicture> renderDeep(const DeepRequest &request)
{
    const Clock::time_point start = Clock::now();
    const std::unique_ptr<DeepLines> lines = DeepLines::prepare(request);
    if (!lines)
        return std::nullopt;
    const DeepWindow &window = request.window;
    DeepPicture picture{BitmapImage(window.width, window.height)};
    picture.referenceSeconds = lines->referenceSeconds();
    picture.referenceBytes = lines->referenceBytes();
    picture.tableSeconds = lines->tableSeconds();
    picture.tableBytes = lines->tableBytes();

    std::atomic<int> nextLine{0};
    std::vector<long long> iterations(std::size_t(std::max(request.threads, 1)));
    std::vector<std::jthread> workers;
    for (std::size_t t = 0; t < iterations.size(); ++t) {
        try {
            workers.emplace_back(
                [&, t] { iterations[t] = renderLines(request, *lines, nextLine, picture.image); });
        } catch (const std::system_error &) {
            break; // the threads that did start share the lines
        }
    }
    if (workers.empty())
        return std::nullopt;
    workers.clear();
    for (const long long count : iterations)
        picture.iterations += count;
    picture.seconds = secondsSince(start);
    return picture;
}

} // namespace dwell
