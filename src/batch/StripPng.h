#pragma once

#include "OutputFile.h"
#include "RenderRequest.h"
#include "Scene.h"

#include <QString>

#include <functional>

namespace dwell {

class DeepLines;

// Band index of count horizontal bands of a picture, counted from 0 at the
// top: rows index * height / count up to (index + 1) * height / count.
struct Tile {
    int index = 0;
    int count = 1;

    int firstRow(int height) const { return int((long long)index * height / count); }
    int endRow(int height) const { return int((long long)(index + 1) * height / count); }
    bool whole() const { return count == 1; }
};

// What a streamed render took.
struct StripReport {
    long long iterations = 0;
    double seconds = 0.0;
    // Time the writing thread spent encoding, while workers went on computing.
    double encodeSeconds = 0.0;
    // The deep engine's reference orbit and table, when it drew the picture.
    double referenceSeconds = 0.0;
    double tableSeconds = 0.0;
    std::size_t referenceBytes = 0;
    std::size_t tableBytes = 0;
    bool deep = false;
};

// The scene a request shows, as a PNG records it.
Scene sceneOf(const RenderRequest &request);

// Renders the tile of the request's picture straight into a PNG, band after
// band, as OutputFile writes: an existing file is replaced only once the
// new one is complete. progress, when given, hears of each band's rows.
// False with error set when the picture cannot be computed or written.
using RowProgress = std::function<void(int rowsDone, int rows)>;
bool renderStripPng(const RenderRequest &request, const Tile &tile, const QString &path,
                    StripReport *report, QString *error, const RowProgress &progress = {},
                    OutputFile::Reader reader = OutputFile::Reader::Wait);

} // namespace dwell
