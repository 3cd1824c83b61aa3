#include "ZoomCommand.h"

#include "Console.h"
#include "FrameManifest.h"
#include "PicturePng.h"
#include "PngReader.h"
#include "ZoomPlan.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace dwell {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ZoomCommand", text);
}

const QString kTo = QStringLiteral("to");
const QString kFactor = QStringLiteral("factor");
const QString kFrames = QStringLiteral("frames");
const QString kEncode = QStringLiteral("encode");
const QString kRate = QStringLiteral("fps");

struct ZoomJob {
    ZoomPlan plan;
    QString folder;
    int first = 0;
    int last = 0;
    QString movie;
    int rate = 30;
};

QString frameName(int frame, int lastFrame)
{
    const int digits = std::max(5, int(QString::number(lastFrame).size()));
    return QStringLiteral("frame-%1.png").arg(frame, digits, 10, QLatin1Char('0'));
}

RenderRequest frameRequest(const RenderRequest &start, const ZoomPlan &plan, int frame)
{
    RenderRequest request = start;
    request.widthText = plan.widthOf(frame);
    request.planeWidth = std::strtod(request.widthText.c_str(), nullptr);
    return request;
}

// "A:B" or "A", starting within the plan's frames; a range that runs past
// the last frame ends there, so that a scheduler can split a zoom into
// equal ranges without knowing its length.
bool parseRange(const QString &text, int lastFrame, int *first, int *last)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,7})(?::(\\d{1,7}))?$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    *first = match.captured(1).toInt();
    *last = match.captured(2).isEmpty() ? *first : match.captured(2).toInt();
    *last = std::min(*last, lastFrame);
    return *first <= *last;
}

std::optional<ZoomJob> zoomJob(const QCommandLineParser &parser, const RenderOptions &start,
                               QString *error)
{
    if (!parser.isSet(kTo)) {
        *error = tr("--to W, the last frame's width, is required");
        return std::nullopt;
    }
    std::string why;
    ZoomJob job;
    job.plan = ZoomPlan::make(start.request.exactWidth(), parser.value(kTo).toStdString(),
                              parser.value(kFactor).toStdString(), &why);
    if (!job.plan.valid()) {
        *error = QString::fromStdString(why);
        return std::nullopt;
    }
    job.last = job.plan.lastFrame();
    if (parser.isSet(kFrames) &&
        !parseRange(parser.value(kFrames), job.plan.lastFrame(), &job.first, &job.last)) {
        *error = tr("--frames takes A:B or A, starting within the zoom's frames 0 to %1")
                     .arg(job.plan.lastFrame());
        return std::nullopt;
    }
    job.folder = parser.value(QStringLiteral("output"));
    if (job.folder.isEmpty()) {
        *error = tr("-o FOLDER is required");
        return std::nullopt;
    }
    if (QFileInfo(job.folder).exists() && !QFileInfo(job.folder).isDir()) {
        *error = tr("%1 is not a folder").arg(job.folder);
        return std::nullopt;
    }
    bool ok = false;
    job.rate = parser.value(kRate).toInt(&ok);
    if (!ok || job.rate < 1 || job.rate > 240) {
        *error = tr("--fps takes a whole number from 1 to 240");
        return std::nullopt;
    }
    job.movie = parser.value(kEncode);
    if (!job.movie.isEmpty() && QFileInfo(job.movie).exists() && !QFileInfo(job.movie).isFile()) {
        *error = tr("--encode: %1 is not a regular file").arg(job.movie);
        return std::nullopt;
    }
    return job;
}

// True when the frame's file is the one the manifest recorded and shows the
// frame's own picture; says why when a file is there but is not.
bool frameComplete(const QString &path, const QString &name, const FrameManifest &manifest,
                   const RenderRequest &request, int frame)
{
    if (!QFileInfo::exists(path))
        return false;
    const QByteArray recorded = manifest.checksumOf(name);
    if (recorded.isEmpty() || FrameManifest::checksumOfFile(path) != recorded) {
        say(tr("frame %1 does not match the manifest's checksum: rendering it again").arg(frame));
        return false;
    }
    PngReader reader;
    if (!reader.open(path) ||
        reader.texts() != pictureTexts(sceneOf(request), request.width, request.height)) {
        say(tr("frame %1 shows another picture: rendering it again").arg(frame));
        return false;
    }
    return true;
}

QString duration(double seconds)
{
    if (seconds < 60)
        return tr("%1 s").arg(seconds, 0, 'f', 1);
    const long long whole = (long long)(seconds + 0.5);
    if (whole < 3600)
        return tr("%1 min %2 s").arg(whole / 60).arg(whole % 60);
    return tr("%1 h %2 min").arg(whole / 3600).arg(whole % 3600 / 60);
}

int encode(const ZoomJob &job)
{
    const int digits =
        int(frameName(0, job.plan.lastFrame()).size()) - int(std::strlen("frame-.png"));
    const QString input = QDir(job.folder).filePath("frame-%0" + QString::number(digits) + "d.png");
    // Written beside the movie and renamed once complete.
    const QFileInfo target(job.movie);
    const QString partial = target.dir().filePath(
        QStringLiteral(".%1.partial.%2").arg(target.completeBaseName(), target.suffix()));
    const QStringList arguments = {"-y",
                                   "-loglevel",
                                   "error",
                                   "-framerate",
                                   QString::number(job.rate),
                                   "-i",
                                   input,
                                   "-c:v",
                                   "libx264",
                                   "-pix_fmt",
                                   "yuv420p",
                                   "-vf",
                                   "pad=ceil(iw/2)*2:ceil(ih/2)*2",
                                   partial};
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        say(tr("ffmpeg is not installed, so %1 is not made; with ffmpeg, this makes it from the "
               "frames:\n  ffmpeg -framerate %2 -i %3 -c:v libx264 -pix_fmt yuv420p -vf "
               "'pad=ceil(iw/2)*2:ceil(ih/2)*2' %1")
                .arg(job.movie)
                .arg(job.rate)
                .arg(input));
        return 1;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(ffmpeg, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0 ||
        std::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(job.movie).constData()) != 0) {
        QFile::remove(partial);
        say(tr("ffmpeg could not make %1").arg(job.movie));
        return 1;
    }
    say(tr("%1 made from frames 0 to %2").arg(job.movie).arg(job.plan.lastFrame()));
    return 0;
}

// Renders the job's frames that are not complete yet; false once one fails.
bool renderFrames(const ZoomJob &job, const RenderRequest &start)
{
    const FrameManifest manifest(job.folder);
    int rendered = 0;
    double spent = 0.0;
    for (int frame = job.first; frame <= job.last; ++frame) {
        const RenderRequest request = frameRequest(start, job.plan, frame);
        const QString name = frameName(frame, job.plan.lastFrame());
        const QString path = QDir(job.folder).filePath(name);
        if (frameComplete(path, name, manifest, request, frame))
            continue;
        StripReport report;
        QString error;
        if (!renderStripPng(request, Tile{}, path, &report, &error) ||
            !manifest.record(name, FrameManifest::checksumOfFile(path), &error)) {
            say(tr("frame %1 is not written: %2").arg(frame).arg(error));
            return false;
        }
        ++rendered;
        spent += report.seconds;
        say(tr("frame %1: %2 s (encoding %3 s); about %4 left")
                .arg(frame)
                .arg(report.seconds, 0, 'f', 2)
                .arg(report.encodeSeconds, 0, 'f', 2)
                .arg(duration(spent / rendered * (job.last - frame))));
    }
    say(tr("%1 frames rendered, %2 already complete")
            .arg(rendered)
            .arg(job.last - job.first + 1 - rendered));
    return true;
}

} // namespace

void addZoomOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {kTo,
         tr("The last frame's width in the plane, any exponent; below the first frame's "
            "width to zoom in, above it to zoom out."),
         QStringLiteral("W")},
        {kFactor, tr("Width ratio between one frame and the next (1.05)."), QStringLiteral("F"),
         QStringLiteral("1.05")},
        {kFrames,
         tr("Render only frames A to B (or frame A), counted from 0: split a zoom between "
            "runs and machines."),
         QStringLiteral("A:B")},
        {kEncode, tr("Once every frame is there, make this movie of them with ffmpeg."),
         QStringLiteral("MOVIE")},
        {kRate, tr("Frames per second of the movie (30)."), QStringLiteral("N"),
         QStringLiteral("30")},
    });
}

int runZoom(const QCommandLineParser &parser, const RenderOptions &start)
{
    QString error;
    const std::optional<ZoomJob> job = zoomJob(parser, start, &error);
    if (!job) {
        say(error + '\n' + tr("Try 'dwell zoom --help'."));
        return 2;
    }
    if (!QDir().mkpath(job->folder)) {
        say(tr("cannot make the folder %1").arg(job->folder));
        return 1;
    }
    say(tr("frames %1 to %2 of 0 to %3 into %4")
            .arg(job->first)
            .arg(job->last)
            .arg(job->plan.lastFrame())
            .arg(job->folder));
    if (!renderFrames(*job, start.request))
        return 1;
    if (job->movie.isEmpty())
        return 0;
    if (job->first != 0 || job->last != job->plan.lastFrame()) {
        say(tr("--encode needs every frame: run the zoom without --frames once the ranges are "
               "rendered, and it encodes them"));
        return 1;
    }
    return encode(*job);
}

} // namespace dwell
