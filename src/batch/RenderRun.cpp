#include "BatchRenderer.h"
#include "OutputFile.h"
#include "PicturePng.h"
#include "RenderCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace dwell {

namespace {

void showProgress(const PassStatus &status)
{
    const int width = 40;
    const int done = status.height > 0 ? width * status.linesStored / status.height : width;
    std::fprintf(stderr, "\r[%-*s] %3d%%", width, std::string(std::size_t(done), '#').c_str(),
                 status.height > 0 ? 100 * status.linesStored / status.height : 100);
    std::fflush(stderr);
}

// The exit status of a picture that cannot be written.
int cannotWrite(const QString &path, const QString &why)
{
    std::fprintf(stderr, "dwell: cannot write %s: %s\n", qPrintable(path), qPrintable(why));
    return 1;
}

int render(const RenderOptions &options)
{
    // Before the work, not after it.
    if (const QString problem = OutputFile::problem(options.outputPath); !problem.isEmpty())
        return cannotWrite(options.outputPath, problem);
    const RenderRequest &request = options.request;
    BatchRenderer renderer(request);
    renderer.start();
    const bool onTerminal = isatty(STDERR_FILENO);
    while (!renderer.waitUntilDone(200))
        if (onTerminal)
            showProgress(renderer.status());
    const PassStatus status = renderer.status();
    if (onTerminal) {
        showProgress(status);
        std::fputc('\n', stderr);
    }
    if (!status.finished()) {
        std::fprintf(stderr, "dwell: %s; %s is not written\n",
                     status.failed ? "no worker thread could be started"
                                   : "the picture was not finished",
                     qPrintable(options.outputPath));
        return 1;
    }

    QString error;
    if (!writePicturePng(options.outputPath, renderer.image(), status.scene, &error))
        return cannotWrite(options.outputPath, error);
    const double seconds = std::max(status.seconds, 1e-9);
    std::fprintf(stderr,
                 "dwell: %s, %dx%d in %.3f s, %lld iterations, %.3g pixel-iterations per second\n",
                 qPrintable(options.outputPath), request.width, request.height, seconds,
                 status.iterations, double(status.iterations) / seconds);
    return 0;
}

} // namespace

int runCommandLine(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dwell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DWELL_VERSION));
    QCommandLineParser parser;
    addRenderOptions(parser);
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "dwell: %s\nTry 'dwell --help'.\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    QString error;
    const std::optional<RenderOptions> options = renderOptionsFrom(parser, &error);
    if (!options) {
        std::fprintf(stderr, "dwell: %s\nTry 'dwell --help'.\n", qPrintable(error));
        return 2;
    }
    return render(*options);
}

} // namespace dwell
