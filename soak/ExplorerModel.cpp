#include "ExplorerModel.h"

#include <algorithm>
#include <tuple>

namespace dwell {

namespace {

using Kind = Gesture::Kind;

} // namespace

ExplorerModel::ExplorerModel(int width, int height)
    : m_width(width), m_height(height), m_plane(geometry().reset())
{
    startPass();
}

bool ExplorerModel::apply(const Gesture &gesture)
{
    switch (gesture.kind) {
    case Kind::Click:
    case Kind::Drag:
        if (!release(pressOf(gesture)))
            return false;
        break;
    case Kind::Resize:
        if (!resize(gesture.width, gesture.height))
            return false;
        break;
    case Kind::ResizeWhilePressed: {
        const Press press = pressOf(gesture);
        const bool resized = resize(gesture.width, gesture.height);
        const bool released = release(press);
        if (!resized && !released)
            return false;
        break;
    }
    case Kind::ZoomOut:
        zoomTo(geometry().zoomOut(m_plane));
        break;
    case Kind::Back:
        if (!back())
            return false;
        break;
    case Kind::Reset:
        zoomTo(geometry().reset());
        break;
    case Kind::ResetOrigin:
        m_originX = 0.0;
        m_originY = 0.0;
        break;
    case Kind::Start:
        break;
    case Kind::StartAndDwellWheel:
        startPass();
        turnDwellMenu(gesture.notches);
        return true;
    case Kind::Key:
        m_needsPass = true;
        return false;
    case Kind::DwellWheel:
        turnDwellMenu(gesture.notches);
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

std::vector<ExplorerModel> ExplorerModel::outcomes(const Gesture &gesture) const
{
    std::vector<ExplorerModel> models{*this};
    models.front().apply(gesture);
    if (gesture.kind != Kind::ResizeWhilePressed)
        return models;
    // The release before the explorer saw the new size: it acts on the old
    // size, and the resize then keeps the centre of what it made.
    ExplorerModel releasedFirst = *this;
    if (releasedFirst.release(pressOf(gesture)) &&
        releasedFirst.resize(gesture.width, gesture.height)) {
        releasedFirst.startPass();
        models.push_back(std::move(releasedFirst));
    }
    return models;
}

ExplorerModel::Press ExplorerModel::pressOf(const Gesture &gesture) const
{
    if (gesture.path.empty())
        return {geometry().viewPoint(gesture.x, gesture.y), std::nullopt};
    const auto [toX, toY] = gesture.path.back();
    return {std::nullopt, geometry().selection(gesture.x, gesture.y, toX, toY)};
}

bool ExplorerModel::release(const Press &press)
{
    const PlaneModel view = geometry();
    if (press.click) {
        if (m_originMode)
            std::tie(m_originX, m_originY) = view.planePoint(m_plane, *press.click);
        else
            zoomTo(view.clickZoom(m_plane, *press.click));
        return true;
    }
    if (!press.selection)
        return false;
    if (m_originMode)
        std::tie(m_originX, m_originY) = view.selectionCorner(m_plane, *press.selection);
    else
        zoomTo(view.selectionZoom(m_plane, *press.selection));
    return true;
}

bool ExplorerModel::resize(int width, int height)
{
    if (width == m_width && height == m_height)
        return false;
    m_plane = geometry().resized(m_plane, width, height);
    m_width = width;
    m_height = height;
    return true;
}

void ExplorerModel::turnDwellMenu(int notches)
{
    // A notch moves the menu one item, and a worker may begin a line at
    // every limit it passes on the way.
    const int direction = notches < 0 ? -1 : 1;
    for (int turned = 0; turned != notches; turned += direction) {
        m_dwellIndex = std::clamp(m_dwellIndex + direction, 0, kDwellItems - 1);
        if (std::ranges::find(m_passLimits, dwellLimit()) == m_passLimits.end())
            m_passLimits.push_back(dwellLimit());
    }
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
    m_shown = {m_plane, m_originX, m_originY, dwellLimit(), double(float(m_sliderValue) / 10.0f)};
    m_passLimits = {m_shown.maxDwell};
}

} // namespace dwell
