#include "PngReader.h"

#include <QFile>

#include <cerrno>
#include <cstring>

// As in the writer, methods that call libpng keep only plain values alive
// across its longjmp.

namespace dwell {

PngReader::~PngReader()
{
    if (m_png)
        png_destroy_read_struct(&m_png, &m_info, nullptr);
    if (m_file)
        std::fclose(m_file);
}

void PngReader::onError(png_structp png, png_const_charp message)
{
    auto *self = static_cast<PngReader *>(png_get_error_ptr(png));
    if (self->m_error.isEmpty())
        self->m_error = QString::fromUtf8(message);
    png_longjmp(png, 1);
}

bool PngReader::open(const QString &path)
{
    m_file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!m_file) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    unsigned char signature[8];
    if (std::fread(signature, 1, sizeof signature, m_file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        m_error = QStringLiteral("not a PNG file");
        return false;
    }
    m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, onError, nullptr);
    if (m_png)
        m_info = png_create_info_struct(m_png);
    if (!m_info) {
        m_error = QStringLiteral("out of memory");
        return false;
    }
    if (!readHeader())
        return false;
    png_textp chunks = nullptr;
    const int count = png_get_text(m_png, m_info, &chunks, nullptr);
    for (int i = 0; i < count; ++i)
        m_texts.emplace_back(chunks[i].key, std::string(chunks[i].text, chunks[i].text_length));
    return true;
}

bool PngReader::readHeader()
{
    if (setjmp(png_jmpbuf(m_png)))
        return false;
    png_init_io(m_png, m_file);
    png_set_sig_bytes(m_png, 8);
    // Large posters are what this reads.
    png_set_user_limits(m_png, 0x7fffffff, 0x7fffffff);
    png_read_info(m_png, m_info);
    if (png_get_bit_depth(m_png, m_info) != 8 ||
        png_get_color_type(m_png, m_info) != PNG_COLOR_TYPE_RGB ||
        png_get_interlace_type(m_png, m_info) != PNG_INTERLACE_NONE) {
        m_error = QStringLiteral("not an 8-bit RGB picture as Dwell writes them");
        return false;
    }
    m_width = int(png_get_image_width(m_png, m_info));
    m_height = int(png_get_image_height(m_png, m_info));
    return true;
}

bool PngReader::readRows(std::uint8_t *rgb, int rows)
{
    if (!m_error.isEmpty())
        return false;
    const std::size_t rowBytes = std::size_t(3) * std::size_t(m_width);
    if (setjmp(png_jmpbuf(m_png)))
        return false;
    for (int row = 0; row < rows; ++row)
        png_read_row(m_png, rgb + rowBytes * std::size_t(row), nullptr);
    return true;
}

} // namespace dwell
