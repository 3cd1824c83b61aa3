#pragma once

#include "OutputFile.h"
#include "PngWriter.h"
#include "Scene.h"

#include <QString>

namespace dwell {

class BitmapImage;

// How a picture is written besides its pixels and scene.
struct PictureOutput {
    // Every line was computed; otherwise the PNG says it is unfinished.
    bool complete = true;
    OutputFile::Reader reader = OutputFile::Reader::Wait;
};

// The text chunks that say where a picture of width x height pixels came
// from: from a deep scene its centre and width with every digit, the
// doubles being the nearest.
PngTexts pictureTexts(const Scene &scene, int width, int height, bool complete = true);

// Writes the image buffer's pixels as they are, and the scene they show in
// the PNG's text chunks, as OutputFile writes: a regular file is replaced
// only when the new one is complete. On failure error says why.
bool writePicturePng(const QString &path, const BitmapImage &image, const Scene &scene,
                     QString *error, const PictureOutput &output = {});

} // namespace dwell
