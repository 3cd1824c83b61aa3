#include "StripRenderer.h"

#include "PlaneWindow.h"
#include "mandel.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace dwell {

// The bands in flight: workers take lines in order, but never more than
// kInFlight bands ahead of the one the sink has yet to receive.
struct StripRenderer::Bands {
    static constexpr int kInFlight = 4;

    int firstRow;
    int endRow;
    int width;
    std::mutex lock;
    std::condition_variable changed;
    int nextLine;
    int bandsReleased = 0;
    bool stopped = false;
    std::vector<int> linesDone;
    std::vector<std::vector<std::uint8_t>> buffers;

    Bands(int first, int end, int w) : firstRow(first), endRow(end), width(w), nextLine(first)
    {
        const int count = (end - first + kBandRows - 1) / kBandRows;
        linesDone.assign(std::size_t(count), 0);
        buffers.assign(kInFlight, std::vector<std::uint8_t>(std::size_t(3) * std::size_t(w) *
                                                            std::size_t(kBandRows)));
    }
    int bandOf(int line) const { return (line - firstRow) / kBandRows; }
    int rowsIn(int band) const { return std::min(kBandRows, endRow - firstRow - band * kBandRows); }
    std::uint8_t *rowOf(int line)
    {
        const std::size_t row = std::size_t((line - firstRow) % kBandRows);
        return buffers[std::size_t(bandOf(line) % kInFlight)].data() +
               row * std::size_t(3) * std::size_t(width);
    }
};

StripRenderer::StripRenderer(const RenderRequest &request) : m_request(request)
{
    // The window the explorer's pass would take for the same request.
    m_step = request.planeWidth / request.width;
    const PlaneWindow window = PlaneWindow::centeredAt(request.centerX, request.centerY, m_step,
                                                       request.width, request.height);
    m_viewX = window.viewX;
    m_viewY = window.viewY;
}

StripRenderer::~StripRenderer() = default;

void StripRenderer::computeLines(int first, int count, int *dwells, float *norms,
                                 std::uint8_t *rgb) const
{
    const RenderRequest &r = m_request;
    const std::size_t width = std::size_t(r.width);
    if (m_deep) {
        for (int k = 0; k < count; ++k)
            m_deep->compute(first + k, dwells + width * std::size_t(k),
                            norms + width * std::size_t(k));
    } else {
        double ys[kBlockRows];
        int sums[kBlockRows];
        for (int k = 0; k < count; ++k)
            ys[k] = m_viewY - m_step * (first + k);
        mandelLines(r.originX, r.originY, double(r.escapeRadius), m_viewX, ys, count, m_step,
                    r.maxDwell, r.width, dwells, norms, sums);
    }
    for (int k = 0; k < count; ++k)
        colorLine(r.coloring, dwells + width * std::size_t(k), norms + width * std::size_t(k),
                  r.width, r.escapeRadius, rgb + 3 * width * std::size_t(k));
}

void StripRenderer::work(Bands &bands, long long *iterations) const
{
    const std::size_t block = std::size_t(m_request.width) * kBlockRows;
    std::vector<int> dwells(block);
    std::vector<float> norms(block);
    for (;;) {
        int first;
        int count;
        std::uint8_t *rows;
        {
            std::unique_lock guard(bands.lock);
            bands.changed.wait(guard, [&bands] {
                return bands.stopped || bands.nextLine >= bands.endRow ||
                       bands.bandOf(bands.nextLine) < bands.bandsReleased + Bands::kInFlight;
            });
            if (bands.stopped || bands.nextLine >= bands.endRow)
                return;
            // Blocks divide bands, so a block's rows lie in one buffer.
            first = bands.nextLine;
            count = std::min(kBlockRows, bands.endRow - first);
            bands.nextLine += count;
            rows = bands.rowOf(first);
        }
        computeLines(first, count, dwells.data(), norms.data(), rows);
        *iterations += lineIterations(dwells.data(), m_request.width * count, m_request.maxDwell);
        {
            std::lock_guard guard(bands.lock);
            bands.linesDone[std::size_t(bands.bandOf(first))] += count;
        }
        bands.changed.notify_all();
    }
}

StripRenderer::Outcome StripRenderer::render(int firstRow, int endRow, const Sink &sink)
{
    if (m_request.usesDeepEngine() && !m_deep) {
        DeepRequest deep;
        const std::optional<ExtendedFloat> step =
            pixelStep(m_request.exactWidth(), m_request.width);
        deep.window = {m_request.exactCenterX(), m_request.exactCenterY(),
                       step.value_or(ExtendedFloat{}), m_request.width, m_request.height};
        deep.originX = m_request.originX;
        deep.originY = m_request.originY;
        deep.escapeRadius = double(m_request.escapeRadius);
        deep.maxDwell = m_request.maxDwell;
        m_deep = DeepLines::prepare(deep);
        if (!m_deep)
            return Outcome::NotANumber;
    }
    Bands bands(firstRow, endRow, m_request.width);
    std::vector<long long> iterations(std::size_t(m_request.threads), 0);
    std::vector<std::jthread> workers;
    for (long long &count : iterations) {
        try {
            workers.emplace_back([this, &bands, &count] { work(bands, &count); });
        } catch (const std::system_error &) {
            break; // the threads that did start share the lines
        }
    }
    if (workers.empty())
        return Outcome::NoThreads;
    bool delivered = true;
    for (int band = 0; band < int(bands.linesDone.size()) && delivered; ++band) {
        const int rows = bands.rowsIn(band);
        {
            std::unique_lock guard(bands.lock);
            bands.changed.wait(guard, [&] { return bands.linesDone[std::size_t(band)] == rows; });
        }
        // The workers fill the other buffers meanwhile.
        delivered = sink(firstRow + band * kBandRows, rows,
                         bands.buffers[std::size_t(band % Bands::kInFlight)].data());
        {
            std::lock_guard guard(bands.lock);
            ++bands.bandsReleased;
            bands.stopped = !delivered;
        }
        bands.changed.notify_all();
    }
    workers.clear();
    for (const long long count : iterations)
        m_iterations += count;
    return delivered ? Outcome::Done : Outcome::Stopped;
}

long long StripRenderer::iterations() const
{
    return m_iterations;
}

} // namespace dwell
