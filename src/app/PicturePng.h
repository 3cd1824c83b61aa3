#pragma once

#include "Scene.h"

#include <QString>

class BitmapImage;

// Writes the image buffer's pixels as they are, and the scene they show in
// the PNG's text chunks, as OutputFile writes: a regular file is replaced
// only when the new one is complete. On failure error says why.
bool writePicturePng(const QString &path, const BitmapImage &image, const Scene &scene,
                     QString *error);
