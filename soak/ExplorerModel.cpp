#include "ExplorerModel.h"

#include <algorithm>
#include <tuple>

ExplorerModel::ExplorerModel(int width, int height)
    : m_geometry(width, height), m_plane(m_geometry.reset())
{
    startPass();
}

bool ExplorerModel::apply(const Gesture &gesture)
{
    using Kind = Gesture::Kind;
    switch (gesture.kind) {
    case Kind::Click:
    case Kind::Drag:
        if (!press(gesture))
            return false;
        break;
    case Kind::ZoomOut:
        zoomTo(m_geometry.zoomOut(m_plane));
        break;
    case Kind::Back:
        if (!back())
            return false;
        break;
    case Kind::Reset:
        zoomTo(m_geometry.reset());
        break;
    case Kind::ResetOrigin:
        m_originX = 0.0;
        m_originY = 0.0;
        break;
    case Kind::Start:
        break;
    case Kind::Key:
        m_needsPass = true;
        return false;
    case Kind::DwellWheel:
        m_dwellIndex = std::clamp(m_dwellIndex + gesture.notches, 0, kDwellItems - 1);
        m_needsPass = true;
        return false;
    case Kind::RadiusWheel:
        // Three steps of a tenth per notch; turning away from the user raises it.
        m_sliderValue = std::clamp(m_sliderValue - 3 * gesture.notches, 10, 1000);
        return false;
    case Kind::ToggleOrigin:
        m_originMode = !m_originMode;
        return false;
    case Kind::Report:
    case Kind::ThreadWheel:
    case Kind::ToggleRandom:
    case Kind::ToggleClear:
        return false;
    }
    startPass();
    return true;
}

bool ExplorerModel::press(const Gesture &gesture)
{
    if (gesture.kind == Gesture::Kind::Click) {
        if (m_originMode)
            std::tie(m_originX, m_originY) = m_geometry.pressPoint(m_plane, gesture.x, gesture.y);
        else
            zoomTo(m_geometry.clickZoom(m_plane, gesture.x, gesture.y));
        return true;
    }
    const auto [toX, toY] = gesture.path.back();
    const auto selection = m_geometry.selection(gesture.x, gesture.y, toX, toY);
    if (!selection)
        return false;
    if (m_originMode)
        std::tie(m_originX, m_originY) = m_geometry.selectionCorner(m_plane, *selection);
    else
        zoomTo(m_geometry.selectionZoom(m_plane, *selection));
    return true;
}

void ExplorerModel::zoomTo(const PlaneWindow &plane)
{
    if (m_history.size() == kHistoryDepth)
        m_history.erase(m_history.begin());
    m_history.push_back(m_plane);
    m_plane = plane;
}

bool ExplorerModel::back()
{
    if (m_history.empty())
        return false;
    m_plane = m_history.back();
    m_history.pop_back();
    return true;
}

void ExplorerModel::startPass()
{
    m_needsPass = false;
    m_shown = {m_plane, m_originX, m_originY, 64 << m_dwellIndex,
               double(float(m_sliderValue) / 10.0f)};
}
