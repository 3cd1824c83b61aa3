#pragma once

#include "RenderRequest.h"
#include "StripPng.h"

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

namespace dwell {

// The commands the program runs without its window.
enum class Command { Render, Zoom, Join };

struct RenderOptions {
    RenderRequest request;
    QString outputPath;
    Tile tile;
};

// The command named by the arguments' first word that is no option, or nullopt.
std::optional<Command> commandNamed(const QString &word);

// The command line of a command (and `dwell --help`, with Render).
void addRenderOptions(QCommandLineParser &parser, Command command = Command::Render);
// The picture the options describe (for Zoom, the first frame's), or
// nullopt with error set.
std::optional<RenderOptions> renderOptionsFrom(const QCommandLineParser &parser, Command command,
                                               QString *error);

// True when the arguments ask for the command line rather than the window:
// anything but Qt's own window options and one file to open.
bool wantsCommandLine(int argc, char **argv);
// Runs `dwell render ...`, `dwell zoom ...`, `dwell join ...`, `dwell --help`
// or `dwell --version`; the exit status: 0 on success, 2 for a bad command
// line, 1 when the work cannot be done or written.
int runCommandLine(int argc, char **argv);

} // namespace dwell
