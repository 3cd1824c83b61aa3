#include "PicturePng.h"
#include "BitmapImage.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace dwell {

TEST(PicturePng, KeepsEveryByteAndWhereThePictureCameFrom)
{
    BitmapImage image(7, 5);
    for (std::size_t i = 0; i < image.byteCount(); ++i)
        image.bitmapData()[i] = std::uint8_t(i * 37 % 256);
    const Scene scene{{-0.1234567890123456, 0.75, 1.0 / 3}, 0.125, -0.5, 4096, 9.5, true};
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.png");
    QString error;
    ASSERT_TRUE(writePicturePng(path, image, scene, &error, {false})) << qPrintable(error);

    QImage read(path);
    ASSERT_EQ(read.width(), 7);
    ASSERT_EQ(read.height(), 5);
    read = read.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < 5; ++y) {
        const uchar *row = read.constScanLine(y);
        ASSERT_EQ(QByteArray(reinterpret_cast<const char *>(row), 21),
                  QByteArray(reinterpret_cast<const char *>(image.bitmapData()) + y * 21, 21))
            << "row " << y;
    }
    EXPECT_EQ(read.text("ViewX").toDouble(), scene.window.viewX);
    EXPECT_EQ(read.text("ViewStep").toDouble(), scene.window.viewStep);
    EXPECT_EQ(read.text("Origin"), "0.125,-0.5");
    EXPECT_EQ(read.text("MaxDwell"), "4096");
    EXPECT_EQ(read.text("EscapeRadius"), "9.5");
    EXPECT_TRUE(read.text("MixedDwell").contains("limit changed"));
    EXPECT_TRUE(read.text("Unfinished").contains("before every line"));
    EXPECT_EQ(read.text("Width").toDouble(), scene.window.viewStep * 7);
}

TEST(PicturePng, LeavesNothingBehindWhenItCannotWrite)
{
    BitmapImage image(3, 3);
    QString error;
    EXPECT_FALSE(writePicturePng("/nonexistent-dir/picture.png", image, {}, &error));
    EXPECT_FALSE(error.isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath("empty.png");
    EXPECT_FALSE(writePicturePng(path, BitmapImage(0, 4), {}, &error));
    EXPECT_FALSE(QFile::exists(path));

    // The window never waits for a FIFO that no program reads.
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    EXPECT_FALSE(writePicturePng(fifo, image, {}, &error, {true, OutputFile::Reader::Refuse}));
    EXPECT_EQ(error, "no program is reading from it");
}

} // namespace dwell
