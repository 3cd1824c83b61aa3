#include "BatchRenderer.h"
#include "DeepRenderer.h"
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

QString tr(const char *text)
{
    return QCoreApplication::translate("RenderRun", text);
}

// One line on standard error, after the program's name.
void say(const QString &line)
{
    std::fprintf(stderr, "dwell: %s\n", qPrintable(line));
}

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
    say(tr("cannot write %1: %2").arg(path, why));
    return 1;
}

void reportTime(const RenderRequest &request, const QString &path, double seconds,
                long long iterations)
{
    seconds = std::max(seconds, 1e-9);
    say(tr("%1, %2x%3 in %4 s, %5 iterations, %6 pixel-iterations per second")
            .arg(path)
            .arg(request.width)
            .arg(request.height)
            .arg(seconds, 0, 'f', 3)
            .arg(iterations)
            .arg(double(iterations) / seconds, 0, 'g', 3));
}

int renderDeepPicture(const RenderOptions &options)
{
    const RenderRequest &r = options.request;
    const std::string width = r.exactWidth();
    const std::optional<ExtendedFloat> step = pixelStep(width, r.width);
    DeepRequest request;
    request.window = {r.exactCenterX(), r.exactCenterY(), step.value_or(ExtendedFloat{}), r.width,
                      r.height};
    request.originX = r.originX;
    request.originY = r.originY;
    request.escapeRadius = double(r.escapeRadius);
    request.maxDwell = r.maxDwell;
    request.threads = r.threads;
    request.coloring = r.coloring;
    const std::optional<DeepPicture> picture = renderDeep(request);
    if (!picture) {
        say(tr("no worker thread could be started; %1 is not written").arg(options.outputPath));
        return 1;
    }
    // The nearest doubles, for readers that want numbers.
    const double s = step->toDouble();
    Scene scene{PlaneWindow::centeredAt(r.centerX, r.centerY, s, r.width, r.height), r.originX,
                r.originY, r.maxDwell, double(r.escapeRadius)};
    scene.exactCenterX = request.window.centerX;
    scene.exactCenterY = request.window.centerY;
    scene.exactWidth = width;
    scene.palette = r.coloring.name;
    scene.density = r.coloring.density;
    scene.offset = r.coloring.offset;
    QString error;
    if (!writePicturePng(options.outputPath, picture->image, scene, &error))
        return cannotWrite(options.outputPath, error);
    say(tr("reference orbit in %1 s, %2 bytes; bilinear table in %3 s, %4 bytes")
            .arg(picture->referenceSeconds, 0, 'f', 3)
            .arg(picture->referenceBytes)
            .arg(picture->tableSeconds, 0, 'f', 3)
            .arg(picture->tableBytes));
    reportTime(r, options.outputPath, picture->seconds, picture->iterations);
    return 0;
}

int render(const RenderOptions &options)
{
    // Before the work, not after it.
    if (const QString problem = OutputFile::problem(options.outputPath); !problem.isEmpty())
        return cannotWrite(options.outputPath, problem);
    if (options.request.usesDeepEngine())
        return renderDeepPicture(options);
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
        say((status.failed ? tr("no worker thread could be started; %1 is not written")
                           : tr("the picture was not finished; %1 is not written"))
                .arg(options.outputPath));
        return 1;
    }

    QString error;
    if (!writePicturePng(options.outputPath, renderer.image(), status.scene, &error))
        return cannotWrite(options.outputPath, error);
    reportTime(request, options.outputPath, status.seconds, status.iterations);
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
        say(parser.errorText() + '\n' + tr("Try 'dwell --help'."));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    // Only process() lists Qt's own options as well; it exits.
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    QString error;
    const std::optional<RenderOptions> options = renderOptionsFrom(parser, &error);
    if (!options) {
        say(error + '\n' + tr("Try 'dwell --help'."));
        return 2;
    }
    return render(*options);
}

} // namespace dwell
