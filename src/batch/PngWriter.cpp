#include "PngWriter.h"

#include <QIODevice>

// libpng reports errors by longjmp to the setjmp of the method that called
// it: those methods keep only plain values alive across the call.

namespace dwell {

PngWriter::PngWriter(QIODevice &device) : m_device(device)
{
    m_png = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, onError, nullptr);
    if (m_png)
        m_info = png_create_info_struct(m_png);
    if (!m_info)
        m_error = QStringLiteral("out of memory");
}

PngWriter::~PngWriter()
{
    png_destroy_write_struct(&m_png, &m_info);
}

void PngWriter::onError(png_structp png, png_const_charp message)
{
    auto *self = static_cast<PngWriter *>(png_get_error_ptr(png));
    if (self->m_error.isEmpty())
        self->m_error = QString::fromUtf8(message);
    png_longjmp(png, 1);
}

void PngWriter::onWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto *self = static_cast<PngWriter *>(png_get_io_ptr(png));
    if (self->m_device.write(reinterpret_cast<const char *>(data), qint64(length)) !=
        qint64(length)) {
        self->m_error = self->m_device.errorString();
        png_error(png, "write failed");
    }
}

bool PngWriter::begin(int width, int height, const PngTexts &texts)
{
    if (!m_info)
        return false;
    std::vector<png_text> chunks(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        chunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
        chunks[i].key = const_cast<char *>(texts[i].first.c_str());
        chunks[i].text = const_cast<char *>(texts[i].second.c_str());
        chunks[i].text_length = texts[i].second.size();
    }
    png_text *const chunkData = chunks.data();
    const int chunkCount = int(chunks.size());
    if (setjmp(png_jmpbuf(m_png)))
        return false;
    png_set_write_fn(m_png, this, onWrite, nullptr);
    png_set_IHDR(m_png, m_info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Measured on a boundary zoom and a smooth palette: no filter with zlib's
    // fastest level takes a ninth of the defaults' time, for files at most a
    // third larger; the filters cost time and, on these pictures, save little.
    png_set_filter(m_png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(m_png, 1);
    png_set_text(m_png, m_info, chunkData, chunkCount);
    png_write_info(m_png, m_info);
    m_width = width;
    return true;
}

bool PngWriter::writeRows(const std::uint8_t *rgb, int rows)
{
    if (!m_error.isEmpty())
        return false;
    const std::size_t rowBytes = std::size_t(3) * std::size_t(m_width);
    if (setjmp(png_jmpbuf(m_png)))
        return false;
    for (int row = 0; row < rows; ++row)
        png_write_row(m_png, rgb + rowBytes * std::size_t(row));
    return true;
}

bool PngWriter::finish()
{
    if (!m_error.isEmpty())
        return false;
    if (setjmp(png_jmpbuf(m_png)))
        return false;
    png_write_end(m_png, nullptr);
    return true;
}

} // namespace dwell
