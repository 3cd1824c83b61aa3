#include "PicturePng.h"

#include "BitmapImage.h"

#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace {

QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

void describe(QImage &png, const BitmapImage &image, const Scene &p)
{
    const double width = p.window.viewStep * image.pixelsWide();
    const double height = p.window.viewStep * image.pixelsHigh();
    png.setText("Software", "Dwell");
    png.setText("Center",
                exact(p.window.viewX + width * 0.5) + "," + exact(p.window.viewY - height * 0.5));
    png.setText("Width", exact(width));
    png.setText("ViewX", exact(p.window.viewX));
    png.setText("ViewY", exact(p.window.viewY));
    png.setText("ViewStep", exact(p.window.viewStep));
    png.setText("Origin", exact(p.originX) + "," + exact(p.originY));
    png.setText("MaxDwell", QString::number(p.maxDwell));
    png.setText("EscapeRadius", exact(p.escapeRadius));
}

} // namespace

bool writePicturePng(const QString &path, const BitmapImage &image, const Scene &scene,
                     QString *error)
{
    if (image.pixelsWide() < 1 || image.pixelsHigh() < 1) {
        *error = QStringLiteral("the picture is empty");
        return false;
    }
    // Wraps the buffer without converting it: the file gets its bytes as they are.
    QImage png(image.bitmapData(), image.pixelsWide(), image.pixelsHigh(), image.bytesPerRow(),
               QImage::Format_RGB888);
    describe(png, image, scene);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(png)) {
        *error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
