#pragma once

#include "OutputFile.h"
#include "Scene.h"

#include <QString>

#include <string>

namespace dwell {

class BitmapImage;

// How a picture is written besides its pixels and scene.
struct PictureOutput {
    // Every line was computed; otherwise the PNG says it is unfinished.
    bool complete = true;
    OutputFile::Reader reader = OutputFile::Reader::Wait;
};

// Writes the image buffer's pixels as they are, and the scene they show in
// the PNG's text chunks (from a deep scene, its centre and width with every
// digit, the doubles being the nearest), as OutputFile writes: a regular file is replaced
// only when the new one is complete. On failure error says why.
bool writePicturePng(const QString &path, const BitmapImage &image, const Scene &scene,
                     QString *error, const PictureOutput &output = {});

} // namespace dwell
