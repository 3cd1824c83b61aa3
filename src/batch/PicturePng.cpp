#include "PicturePng.h"

#include "BitmapImage.h"
#include "OutputFile.h"

namespace dwell {

namespace {

std::string exact(double value)
{
    return QString::number(value, 'g', 17).toStdString();
}

} // namespace

PngTexts pictureTexts(const Scene &p, int pixelsWide, int pixelsHigh, bool complete)
{
    const double width = p.window.viewStep * pixelsWide;
    const double height = p.window.viewStep * pixelsHigh;
    PngTexts texts{{"Software", "Dwell"}};
    if (p.deep()) {
        texts.emplace_back("Center", p.exactCenterX + "," + p.exactCenterY);
        texts.emplace_back("Width", p.exactWidth);
    } else {
        texts.emplace_back("Center", exact(p.window.viewX + width * 0.5) + "," +
                                         exact(p.window.viewY - height * 0.5));
        texts.emplace_back("Width", exact(width));
    }
    texts.emplace_back("ViewX", exact(p.window.viewX));
    texts.emplace_back("ViewY", exact(p.window.viewY));
    texts.emplace_back("ViewStep", exact(p.window.viewStep));
    texts.emplace_back("Origin", exact(p.originX) + "," + exact(p.originY));
    texts.emplace_back("MaxDwell", std::to_string(p.maxDwell));
    texts.emplace_back("EscapeRadius", exact(p.escapeRadius));
    if (p.mixedDwell)
        texts.emplace_back("MixedDwell", "The dwell limit changed while the picture was computed: "
                                         "some lines use another limit than MaxDwell.");
    texts.emplace_back("Engine", p.deep() ? "deep" : "exact");
    texts.emplace_back("Palette", p.palette);
    if (p.palette != "digits") {
        texts.emplace_back("Density", exact(p.density));
        texts.emplace_back("Offset", exact(p.offset));
    }
    if (!complete)
        texts.emplace_back("Unfinished", "Saved before every line was computed: some rows are "
                                         "blank or from an earlier picture.");
    return texts;
}

bool writePicturePng(const QString &path, const BitmapImage &image, const Scene &scene,
                     QString *error, const PictureOutput &output)
{
    if (image.pixelsWide() < 1 || image.pixelsHigh() < 1) {
        *error = QStringLiteral("the picture is empty");
        return false;
    }
    const PngTexts texts =
        pictureTexts(scene, image.pixelsWide(), image.pixelsHigh(), output.complete);
    return OutputFile::write(
        path,
        [&](QIODevice &device, QString *writeError) {
            PngWriter writer(device);
            // The buffer's rows are packed: one call writes them all.
            const bool written = writer.begin(image.pixelsWide(), image.pixelsHigh(), texts) &&
                                 writer.writeRows(image.bitmapData(), image.pixelsHigh()) &&
                                 writer.finish();
            if (!written)
                *writeError = writer.error();
            return written;
        },
        error, output.reader);
}

} // namespace dwell
