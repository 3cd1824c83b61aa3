#pragma once

#include "Perturbation.h"
#include "ReferenceOrbit.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>

namespace dwell {

// What the workers of one deep render pass share: the window and the
// iteration's settings, and the reference orbit with its bilinear table,
// computed once by whichever worker comes first while the others wait.
class DeepPass {
public:
    DeepPass(DeepWindow window, double originX, double originY, double escapeRadius, int maxDwell);
    DeepPass(const DeepPass &) = delete;
    DeepPass &operator=(const DeepPass &) = delete;

    // True once the reference is ready; false when cancelled said to stop
    // (asked every few thousand iterations) or the centre is not a number.
    bool prepare(const std::function<bool()> &cancelled);
    // The pixel's dwell; only after prepare() returned true.
    int dwell(int column, int line, int maxDwell, double *norm = nullptr) const;

    const DeepWindow &window() const { return m_window; }
    // Reference iterations done so far, of at most the limit the pass began with.
    long long referenceDone() const { return m_done.load(std::memory_order_relaxed); }
    int referenceLimit() const { return m_point.maxDwell; }

private:
    DeepWindow m_window;
    ReferencePoint m_point;
    std::once_flag m_once;
    ReferenceOrbit m_orbit;
    std::optional<Perturbation> m_perturbation;
    std::atomic<long long> m_done{0};
};

} // namespace dwell
