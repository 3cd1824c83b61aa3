#include "DeepPass.h"

namespace dwell {

DeepPass::DeepPass(DeepWindow window, double originX, double originY, double escapeRadius,
                   int maxDwell)
    : m_window(std::move(window)), m_point{m_window.centerX,
                                           m_window.centerY,
                                           originX,
                                           originY,
                                           escapeRadius,
                                           maxDwell,
                                           referencePrecision(m_window.step),
                                           m_window.step}
{
}

bool DeepPass::prepare(const std::function<bool()> &cancelled)
{
    std::call_once(m_once, [&] {
        m_orbit = ReferenceOrbit::compute(m_point, [&](long long done) {
            m_done.store(done, std::memory_order_relaxed);
            return cancelled();
        });
        if (!m_orbit.empty())
            m_perturbation.emplace(m_orbit, m_window, m_point.escapeRadius);
        m_done.store(m_point.maxDwell, std::memory_order_relaxed);
    });
    return m_perturbation.has_value();
}

int DeepPass::dwell(int column, int line, int maxDwell, double *norm) const
{
    return m_perturbation->dwell(m_window.offset(column, line), maxDwell, norm);
}

} // namespace dwell
