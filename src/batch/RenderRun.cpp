#include "Console.h"
#include "JoinCommand.h"
#include "OutputFile.h"
#include "RenderCommand.h"
#include "StripPng.h"
#include "ZoomCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

namespace dwell {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RenderRun", text);
}

void reportTime(const RenderOptions &options, const StripReport &report)
{
    const RenderRequest &request = options.request;
    if (report.deep)
        say(tr("reference orbit in %1 s, %2 bytes; bilinear table in %3 s, %4 bytes")
                .arg(report.referenceSeconds, 0, 'f', 3)
                .arg(report.referenceBytes)
                .arg(report.tableSeconds, 0, 'f', 3)
                .arg(report.tableBytes));
    const double seconds = std::max(report.seconds, 1e-9);
    say(tr("%1, %2x%3 in %4 s (encoding %5 s of it, beside the computing), %6 iterations, "
           "%7 pixel-iterations per second")
            .arg(options.outputPath)
            .arg(request.width)
            .arg(options.tile.endRow(request.height) - options.tile.firstRow(request.height))
            .arg(seconds, 0, 'f', 3)
            .arg(report.encodeSeconds, 0, 'f', 3)
            .arg(report.iterations)
            .arg(double(report.iterations) / seconds, 0, 'g', 3));
}

int render(const RenderOptions &options)
{
    // Before the work, not after it.
    if (const QString problem = OutputFile::problem(options.outputPath); !problem.isEmpty()) {
        say(tr("cannot write %1: %2").arg(options.outputPath, problem));
        return 1;
    }
    StripReport report;
    QString error;
    const bool written =
        renderStripPng(options.request, options.tile, options.outputPath, &report, &error,
                       [](int rowsDone, int rows) { showProgress(rowsDone, rows); });
    endProgress();
    if (!written) {
        say(tr("%1 is not written: %2").arg(options.outputPath, error));
        return 1;
    }
    reportTime(options, report);
    return 0;
}

// The command named by the first argument that is no option, when it is one.
std::optional<Command> commandOf(const QStringList &arguments)
{
    QCommandLineParser everything;
    addRenderOptions(everything, Command::Render);
    addZoomOptions(everything);
    everything.parse(arguments);
    const QStringList words = everything.positionalArguments();
    return words.isEmpty() ? std::optional(Command::Render) : commandNamed(words.first());
}

} // namespace

int runCommandLine(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dwell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DWELL_VERSION));
    const QStringList arguments = QCoreApplication::arguments();
    const std::optional<Command> command = commandOf(arguments);
    QCommandLineParser parser;
    addRenderOptions(parser, command.value_or(Command::Render));
    if (command == Command::Zoom)
        addZoomOptions(parser);
    if (!parser.parse(arguments)) {
        say(parser.errorText() + '\n' + tr("Try 'dwell --help'."));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    // Only process() lists Qt's own options as well; it exits.
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(arguments);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    const QStringList words = parser.positionalArguments();
    if (!command || words.isEmpty()) {
        say((words.isEmpty() ? tr("expected a command: render, zoom or join")
                             : tr("unknown command \"%1\"; the commands are render, zoom and join")
                                   .arg(words.first())) +
            '\n' + tr("Try 'dwell --help'."));
        return 2;
    }
    if (*command == Command::Join)
        return runJoin(parser);
    QString error;
    const std::optional<RenderOptions> options = renderOptionsFrom(parser, *command, &error);
    if (!options) {
        say(error + '\n' + tr("Try 'dwell --help'."));
        return 2;
    }
    if (*command == Command::Zoom)
        return runZoom(parser, *options);
    return render(*options);
}

} // namespace dwell
