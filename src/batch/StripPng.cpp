#include "StripPng.h"

#include "PicturePng.h"
#include "PngWriter.h"
#include "StripRenderer.h"

#include <QCoreApplication>

#include <chrono>

namespace dwell {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

QString tr(const char *text)
{
    return QCoreApplication::translate("StripPng", text);
}

// A band says which part of which picture it is, so that join can check.
PngTexts tileTexts(const RenderRequest &request, const Tile &tile)
{
    PngTexts texts = pictureTexts(sceneOf(request), request.width, request.height);
    if (!tile.whole())
        texts.emplace_back("Tile", std::to_string(tile.index) + "/" + std::to_string(tile.count) +
                                       ", rows " + std::to_string(tile.firstRow(request.height)) +
                                       "-" + std::to_string(tile.endRow(request.height) - 1) +
                                       " of " + std::to_string(request.height));
    return texts;
}

QString whyNot(StripRenderer::Outcome outcome, const QString &writeError)
{
    switch (outcome) {
    case StripRenderer::Outcome::NotANumber:
        return tr("the centre is not a number");
    case StripRenderer::Outcome::NoThreads:
        return tr("no worker thread could be started");
    case StripRenderer::Outcome::Stopped:
    case StripRenderer::Outcome::Done:
        break;
    }
    return writeError;
}

} // namespace

Scene sceneOf(const RenderRequest &r)
{
    const double step = r.planeWidth / r.width;
    Scene scene{PlaneWindow::centeredAt(r.centerX, r.centerY, step, r.width, r.height), r.originX,
                r.originY, r.maxDwell, double(r.escapeRadius)};
    if (r.usesDeepEngine()) {
        scene.exactCenterX = r.exactCenterX();
        scene.exactCenterY = r.exactCenterY();
        scene.exactWidth = r.exactWidth();
    }
    scene.palette = r.coloring.name;
    scene.density = r.coloring.density;
    scene.offset = r.coloring.offset;
    return scene;
}

bool renderStripPng(const RenderRequest &request, const Tile &tile, const QString &path,
                    StripReport *report, QString *error, const RowProgress &progress,
                    OutputFile::Reader reader)
{
    const Clock::time_point start = Clock::now();
    const int firstRow = tile.firstRow(request.height);
    const int rows = tile.endRow(request.height) - firstRow;
    StripRenderer renderer(request);
    StripRenderer::Outcome outcome = StripRenderer::Outcome::Stopped;
    double encodeSeconds = 0.0;
    const bool written = OutputFile::write(
        path,
        [&](QIODevice &device, QString *writeError) {
            PngWriter writer(device);
            bool writing = writer.begin(request.width, rows, tileTexts(request, tile));
            if (writing)
                outcome = renderer.render(firstRow, firstRow + rows,
                                          [&](int first, int count, const std::uint8_t *rgb) {
                                              const Clock::time_point encodeStart = Clock::now();
                                              writing = writer.writeRows(rgb, count);
                                              encodeSeconds += secondsSince(encodeStart);
                                              if (progress)
                                                  progress(first + count - firstRow, rows);
                                              return writing;
                                          });
            const Clock::time_point encodeStart = Clock::now();
            writing = writing && outcome == StripRenderer::Outcome::Done && writer.finish();
            encodeSeconds += secondsSince(encodeStart);
            if (!writing)
                *writeError = whyNot(outcome, writer.error());
            return writing;
        },
        error, reader);
    report->iterations = renderer.iterations();
    report->seconds = secondsSince(start);
    report->encodeSeconds = encodeSeconds;
    if (const DeepLines *deep = renderer.deepLines()) {
        report->deep = true;
        report->referenceSeconds = deep->referenceSeconds();
        report->tableSeconds = deep->tableSeconds();
        report->referenceBytes = deep->referenceBytes();
        report->tableBytes = deep->tableBytes();
    }
    return written;
}

} // namespace dwell
