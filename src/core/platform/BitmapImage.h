#pragma once

#include "CacheAligned.h"

#include <cstddef>
#include <cstdint>

namespace dwell {

// 24-bit RGB image owning its pixels: 3 bytes per pixel, top row first, rows
// without gaps. A new image is white.
class BitmapImage {
public:
    BitmapImage(int pixelsWide, int pixelsHigh);
    BitmapImage(const BitmapImage &other);
    // Moves leave other empty.
    BitmapImage(BitmapImage &&other) noexcept;
    BitmapImage &operator=(const BitmapImage &other);
    BitmapImage &operator=(BitmapImage &&other) noexcept;

    int pixelsWide() const { return m_width; }
    int pixelsHigh() const { return m_height; }
    int bytesPerRow() const { return 3 * m_width; }
    std::uint8_t *bitmapData() { return m_pixels.get(); }
    const std::uint8_t *bitmapData() const { return m_pixels.get(); }
    std::size_t byteCount() const { return m_byteCount; }

private:
    int m_width;
    int m_height;
    std::size_t m_byteCount;
    // Workers store rows from several cores at once.
    CacheAlignedArray<std::uint8_t> m_pixels;
};

} // namespace dwell
