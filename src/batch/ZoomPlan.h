#pragma once

#include <string>

namespace dwell {

// The frames of a zoom: frame k is the start's picture with width
// start / factor^k going in (start * factor^k going out), computed in
// 128-bit binary floating point and written with every digit it holds, so
// every machine renders the same frame k. The last frame is the first whose
// width reaches the end width or passes it.
class ZoomPlan {
public:
    // Empty, with error set, when the widths or factor are no positive
    // numbers, the factor is not above 1 or the zoom has over kMaxFrames frames.
    static ZoomPlan make(const std::string &startWidth, const std::string &endWidth,
                         const std::string &factor, std::string *error);

    static constexpr int kMaxFrames = 1000000;

    bool valid() const { return m_lastFrame >= 0; }
    int lastFrame() const { return m_lastFrame; }
    std::string widthOf(int frame) const;

private:
    std::string m_startWidth;
    std::string m_factor;
    bool m_inward = true;
    int m_lastFrame = -1;
};

} // namespace dwell
