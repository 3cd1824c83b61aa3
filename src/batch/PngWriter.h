#pragma once

#include <QString>

#include <png.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QIODevice;

namespace dwell {

// Key and text of a PNG text chunk.
using PngTexts = std::vector<std::pair<std::string, std::string>>;

// Writes an 8-bit RGB PNG onto a device row by row, so that a picture of
// any height passes through in strips. Compression favours speed: the
// pictures are large and their encoding should not outlast their computing.
class PngWriter {
public:
    explicit PngWriter(QIODevice &device);
    ~PngWriter();
    PngWriter(const PngWriter &) = delete;
    PngWriter &operator=(const PngWriter &) = delete;

    // Each returns false, with error() saying why, once anything failed.
    bool begin(int width, int height, const PngTexts &texts);
    bool writeRows(const std::uint8_t *rgb, int rows);
    bool finish();
    QString error() const { return m_error; }

private:
    static void onError(png_structp png, png_const_charp message);
    static void onWrite(png_structp png, png_bytep data, png_size_t length);

    QIODevice &m_device;
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
    int m_width = 0;
    QString m_error;
};

} // namespace dwell
