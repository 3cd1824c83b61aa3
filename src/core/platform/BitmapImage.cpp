#include "BitmapImage.h"

#include <algorithm>

namespace dwell {

BitmapImage::BitmapImage(int pixelsWide, int pixelsHigh)
    : m_width(std::max(pixelsWide, 0)), m_height(std::max(pixelsHigh, 0)),
      m_pixels(std::size_t(m_width) * std::size_t(m_height) * 3, 0xff)
{
}

} // namespace dwell
