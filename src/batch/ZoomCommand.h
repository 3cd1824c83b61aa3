#pragma once

#include "RenderCommand.h"

class QCommandLineParser;

namespace dwell {

// `dwell zoom`: the frames of a zoom movie as numbered PNGs in a folder,
// any range of them, skipping frames a manifest shows complete.
void addZoomOptions(QCommandLineParser &parser);
// Runs the zoom from the first frame's picture; the exit status as
// runCommandLine's.
int runZoom(const QCommandLineParser &parser, const RenderOptions &start);

} // namespace dwell
