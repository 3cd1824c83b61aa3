#pragma once

#include "DeepRenderer.h"
#include "RenderRequest.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace dwell {

// Renders a picture of any size a band of rows at a time, on worker threads,
// handing the bands over in order while the workers go on with the next
// ones: memory holds a few bands, never the whole picture. Each line is
// computed and coloured exactly as the explorer's pass computes it, so the
// same request gives the same pixels either way.
class StripRenderer {
public:
    // Rows in one band, and in the blocks workers take: a block's lines
    // share the kernel's lanes, so one line's slowest pixels do not run alone.
    static constexpr int kBandRows = 16;
    static constexpr int kBlockRows = 8;
    static_assert(kBandRows % kBlockRows == 0);

    explicit StripRenderer(const RenderRequest &request);
    ~StripRenderer();
    StripRenderer(const StripRenderer &) = delete;
    StripRenderer &operator=(const StripRenderer &) = delete;

    // Receives rows first .. first + count - 1 as packed RGB; false stops the render.
    using Sink = std::function<bool(int first, int count, const std::uint8_t *rgb)>;
    enum class Outcome { Done, NotANumber, NoThreads, Stopped };

    // Rows firstRow up to (not including) endRow of the whole picture, in
    // order, on the calling thread.
    Outcome render(int firstRow, int endRow, const Sink &sink);

    // Every pixel's iterations so far, as the plain loop counts them.
    long long iterations() const;
    // The deep engine's preparations, or null for the plain kernel.
    const DeepLines *deepLines() const { return m_deep.get(); }

private:
    struct Bands;
    void computeLines(int first, int count, int *dwells, float *norms, std::uint8_t *rgb) const;
    void work(Bands &bands, long long *iterations) const;

    RenderRequest m_request;
    double m_viewX;
    double m_viewY;
    double m_step;
    std::unique_ptr<DeepLines> m_deep;
    long long m_iterations = 0;
};

} // namespace dwell
