#include "BatchRenderer.h"

namespace dwell {

BatchRenderer::BatchRenderer(const RenderRequest &request)
    : m_request(request), m_display({float(request.width), float(request.height)}),
      m_threadMenu("0"), m_dwellMenu(std::to_string(request.maxDwell)), m_view(m_display, m_threads)
{
    m_display.attach(m_view);
    // Nobody watches the end of the pass: its one-second pause is skipped.
    m_threads.interruptSleeps();
    m_escapeRadius.value = request.escapeRadius;
    m_view.connectOutlets({&m_threadMenu, &m_dwellMenu, &m_off, &m_off, &m_off, &m_escapeRadius});
}

BatchRenderer::~BatchRenderer()
{
    // Workers refer to the view; cancel the pass and let them end.
    m_view.cancelPass();
    m_threads.waitUntilIdle(24 * 3600 * 1000);
}

void BatchRenderer::start()
{
    // Launch with no workers, then render the requested window.
    m_view.applicationDidFinishLaunching();
    const double step = m_request.planeWidth / m_request.width;
    m_view.setPlaneWindow(PlaneWindow::centeredAt(m_request.centerX, m_request.centerY, step,
                                                  m_request.width, m_request.height));
    m_view.coloring = m_request.coloring;
    m_view.originX = m_request.originX;
    m_view.originY = m_request.originY;
    m_threadMenu.title = std::to_string(m_request.threads);
    m_view.doThreadMenu(&m_threadMenu);
    m_view.startButton(nullptr);
}

} // namespace dwell
