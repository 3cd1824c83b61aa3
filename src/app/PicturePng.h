#pragma once

#include "PlaneWindow.h"

#include <QString>

class BitmapImage;

// Where a picture came from, kept in its PNG text chunks.
struct PictureProvenance {
    PlaneWindow window;
    double originX = 0;
    double originY = 0;
    int maxDwell = 0;
    double escapeRadius = 0;
};

// Writes the image buffer's pixels as they are. The file appears only when
// complete; on failure nothing is left behind and error says why.
bool writePicturePng(const QString &path, const BitmapImage &image,
                     const PictureProvenance &provenance, QString *error);
