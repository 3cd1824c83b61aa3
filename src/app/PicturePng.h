#pragma once

#include "Scene.h"

#include <QString>

class BitmapImage;

// Writes the image buffer's pixels as they are, and the scene they show in
// the PNG's text chunks. The file appears only when
// complete; on failure nothing is left behind and error says why.
bool writePicturePng(const QString &path, const BitmapImage &image, const Scene &scene,
                     QString *error);
