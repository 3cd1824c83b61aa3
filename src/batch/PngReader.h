#pragma once

#include "PngWriter.h"

#include <QString>

#include <png.h>

#include <cstdint>
#include <cstdio>

namespace dwell {

// Reads a PNG row by row as 8-bit RGB, with the text chunks that come
// before its pixels, so that a picture of any height passes through in strips.
class PngReader {
public:
    PngReader() = default;
    ~PngReader();
    PngReader(const PngReader &) = delete;
    PngReader &operator=(const PngReader &) = delete;

    // Each returns false, with error() saying why, once anything failed.
    bool open(const QString &path);
    bool readRows(std::uint8_t *rgb, int rows);
    int width() const { return m_width; }
    int height() const { return m_height; }
    const PngTexts &texts() const { return m_texts; }
    QString error() const { return m_error; }

private:
    static void onError(png_structp png, png_const_charp message);
    bool readHeader();

    std::FILE *m_file = nullptr;
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
    int m_width = 0;
    int m_height = 0;
    PngTexts m_texts;
    QString m_error;
};

} // namespace dwell
