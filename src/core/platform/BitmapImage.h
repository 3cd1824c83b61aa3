#pragma once

#include <cstdint>
#include <vector>

namespace dwell {

// 24-bit RGB image owning its pixels: 3 bytes per pixel, top row first, rows
// without gaps. A new image is white.
class BitmapImage {
public:
    BitmapImage(int pixelsWide, int pixelsHigh);

    int pixelsWide() const { return m_width; }
    int pixelsHigh() const { return m_height; }
    int bytesPerRow() const { return 3 * m_width; }
    std::uint8_t *bitmapData() { return m_pixels.data(); }
    const std::uint8_t *bitmapData() const { return m_pixels.data(); }
    std::size_t byteCount() const { return m_pixels.size(); }

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels;
};

} // namespace dwell
