#include "PicturePng.h"

#include "BitmapImage.h"
#include "OutputFile.h"

#include <QImage>
#include <QImageWriter>

namespace dwell {

namespace {

QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

void describe(QImage &png, const BitmapImage &image, const Scene &p, const PictureOutput &output)
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
    if (p.mixedDwell)
        png.setText("MixedDwell", "The dwell limit changed while the picture was computed: "
                                  "some lines use another limit than MaxDwell.");
    png.setText("Engine", p.deep() ? "deep" : "exact");
    png.setText("Palette", QString::fromStdString(p.palette));
    if (p.palette != "digits") {
        png.setText("Density", exact(p.density));
        png.setText("Offset", exact(p.offset));
    }
    if (p.deep()) {
        png.setText("Center", QString::fromStdString(p.exactCenterX + "," + p.exactCenterY));
        png.setText("Width", QString::fromStdString(p.exactWidth));
    }
    if (!output.complete)
        png.setText("Unfinished", "Saved before every line was computed: some rows are blank "
                                  "or from an earlier picture.");
}

} // namespace

bool writePicturePng(const QString &path, const BitmapImage &image, const Scene &scene,
                     QString *error, const PictureOutput &output)
{
    if (image.pixelsWide() < 1 || image.pixelsHigh() < 1) {
        *error = QStringLiteral("the picture is empty");
        return false;
    }
    // Wraps the buffer without converting it: the file gets its bytes as they are.
    QImage png(image.bitmapData(), image.pixelsWide(), image.pixelsHigh(), image.bytesPerRow(),
               QImage::Format_RGB888);
    describe(png, image, scene, output);

    return OutputFile::write(
        path,
        [&png](QIODevice &device, QString *writeError) {
            QImageWriter writer(&device, "png");
            if (writer.write(png))
                return true;
            *writeError = writer.errorString();
            return false;
        },
        error, output.reader);
}

} // namespace dwell
