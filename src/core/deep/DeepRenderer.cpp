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

// Lines taken in turn from a shared counter; returns the line's iterations.
long long renderLines(const DeepRequest &request, const Perturbation &perturbation,
                      std::atomic<int> &nextLine, BitmapImage &image)
{
    const DeepWindow &window = request.window;
    std::vector<int> dwells(std::size_t(window.width));
    std::vector<float> norms(std::size_t(window.width));
    long long iterations = 0;
    for (int line; (line = nextLine++) < window.height;) {
        for (int column = 0; column < window.width; ++column) {
            double norm = 0.0;
            dwells[std::size_t(column)] =
                perturbation.dwell(window.offset(column, line), request.maxDwell, &norm);
            norms[std::size_t(column)] = float(norm);
        }
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

std::optional<DeepPicture> renderDeep(const DeepRequest &request)
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
    const ReferenceOrbit orbit = ReferenceOrbit::compute(point);
    if (orbit.empty())
        return std::nullopt;
    DeepPicture picture{BitmapImage(window.width, window.height)};
    picture.referenceSeconds = secondsSince(start);
    picture.referenceBytes = orbit.bytes();
    const Perturbation perturbation(orbit, window, request.escapeRadius, request.shortcuts);
    picture.tableSeconds = secondsSince(start) - picture.referenceSeconds;
    picture.tableBytes = perturbation.tableBytes();

    std::atomic<int> nextLine{0};
    std::vector<long long> iterations(std::size_t(std::max(request.threads, 1)));
    std::vector<std::jthread> workers;
    for (std::size_t t = 0; t < iterations.size(); ++t) {
        try {
            workers.emplace_back([&, t] {
                iterations[t] = renderLines(request, perturbation, nextLine, picture.image);
            });
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
