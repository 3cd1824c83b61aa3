#pragma once

#include "RenderRequest.h"

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

namespace dwell {

struct RenderOptions {
    RenderRequest request;
    QString outputPath;
};

// The command line of `dwell render` (and `dwell --help`).
void addRenderOptions(QCommandLineParser &parser);
// The options of a parsed command line, or nullopt with error set.
std::optional<RenderOptions> renderOptionsFrom(const QCommandLineParser &parser, QString *error);

// True when the arguments ask for the command line rather than the window:
// anything but Qt's own window options and one file to open.
bool wantsCommandLine(int argc, char **argv);
// Runs `dwell render ...`, `dwell --help` or `dwell --version`; the exit status:
// 0 on success, 2 for a bad command line, 1 when the picture cannot be written.
int runCommandLine(int argc, char **argv);

} // namespace dwell
