#include "BitmapImage.h"

#include <algorithm>
#include <utility>

namespace dwell {

BitmapImage::BitmapImage(int pixelsWide, int pixelsHigh)
    : m_width(std::max(pixelsWide, 0)), m_height(std::max(pixelsHigh, 0)),
      m_byteCount(std::size_t(m_width) * std::size_t(m_height) * 3),
      m_pixels(makeCacheAligned<std::uint8_t>(m_byteCount))
{
    std::fill_n(m_pixels.get(), m_byteCount, std::uint8_t(0xff));
}

BitmapImage::BitmapImage(const BitmapImage &other)
    : m_width(other.m_width), m_height(other.m_height), m_byteCount(other.m_byteCount),
      m_pixels(makeCacheAligned<std::uint8_t>(m_byteCount))
{
    std::copy_n(other.m_pixels.get(), m_byteCount, m_pixels.get());
}

BitmapImage::BitmapImage(BitmapImage &&other) noexcept
    : m_width(std::exchange(other.m_width, 0)), m_height(std::exchange(other.m_height, 0)),
      m_byteCount(std::exchange(other.m_byteCount, 0)), m_pixels(std::move(other.m_pixels))
{
}

BitmapImage &BitmapImage::operator=(const BitmapImage &other)
{
    return *this = BitmapImage(other);
}

BitmapImage &BitmapImage::operator=(BitmapImage &&other) noexcept
{
    m_width = std::exchange(other.m_width, 0);
    m_height = std::exchange(other.m_height, 0);
    m_byteCount = std::exchange(other.m_byteCount, 0);
    m_pixels = std::move(other.m_pixels);
    return *this;
}

} // namespace dwell
