#include "DwellRun.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace dwell {

namespace {

// Width 1 down to 1e-20 by ten a frame: frames 0 to 20, the last below what doubles resolve.
QStringList zoomInto(const QString &folder)
{
    return {"zoom",    "--size",   "40x30",   "--center", "-0.7436439,0.1318259",
            "--dwell", "300",      "--width", "1",        "--to",
            "1e-20",   "--factor", "10",      "-o",       folder};
}

QString frame(const QString &folder, int k)
{
    return QDir(folder).filePath(QStringLiteral("frame-%1.png").arg(k, 5, 10, QLatin1Char('0')));
}

} // namespace

TEST(Zoom, FramesFollowTheFactorAndAResumedSplitRangeEqualsOneRun)
{
    QTemporaryDir dir;
    const QString whole = dir.filePath("whole");
    const DwellRun run = runDwell(zoomInto(whole) + QStringList{"--threads", "1"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.standardError);
    for (int k = 0; k <= 20; ++k) {
        const QImage image(frame(whole, k));
        ASSERT_EQ(image.size(), QSize(40, 30)) << k;
        const double width = std::strtod(image.text("Width").toUtf8().constData(), nullptr);
        EXPECT_NEAR(width / std::pow(10.0L, -k), 1.0, 1e-15) << k;
        if (k <= 10 || k >= 16) {
            EXPECT_EQ(image.text("Engine"), k <= 10 ? "exact" : "deep") << k;
        }
    }
    EXPECT_FALSE(QFile::exists(frame(whole, 21)));

    // A range into the deep frames, on two threads and the scalar path: the same bytes.
    const QString split = dir.filePath("split");
    const QStringList range = zoomInto(split) + QStringList{"--threads", "2", "--frames", "12:20"};
    qputenv("DWELL_KERNEL", "scalar");
    const DwellRun part = runDwell(range);
    qunsetenv("DWELL_KERNEL");
    ASSERT_EQ(part.exitCode, 0) << qPrintable(part.standardError);
    for (int k = 12; k <= 20; ++k)
        EXPECT_EQ(contentsOf(frame(split, k)), contentsOf(frame(whole, k))) << k;
    EXPECT_FALSE(QFile::exists(frame(split, 11)));

    // Run again, it renders only the corrupt and the missing frames.
    ASSERT_TRUE(writeFile(frame(split, 13), "x", QIODevice::Append));
    ASSERT_TRUE(QFile::remove(frame(split, 15)));
    const DwellRun again = runDwell(range);
    ASSERT_EQ(again.exitCode, 0) << qPrintable(again.standardError);
    EXPECT_TRUE(again.standardError.contains("frame 13 does not match"));
    EXPECT_TRUE(again.standardError.contains("2 frames rendered, 7 already complete"))
        << qPrintable(again.standardError);
    for (const int k : {13, 15})
        EXPECT_EQ(contentsOf(frame(split, k)), contentsOf(frame(whole, k))) << k;
    // Completing the zoom makes the movie (without ffmpeg, says how); the manifests agree.
    const QString movie = dir.filePath("zoom.mp4");
    const DwellRun encode = runDwell(zoomInto(split) + QStringList{"--encode", movie});
    const bool ffmpeg = !QStandardPaths::findExecutable("ffmpeg").isEmpty();
    EXPECT_EQ(encode.exitCode, ffmpeg ? 0 : 1) << qPrintable(encode.standardError);
    EXPECT_TRUE(ffmpeg ? QFileInfo(movie).size() > 0
                       : encode.standardError.contains("ffmpeg -framerate 30 -i "));
    EXPECT_EQ(contentsOf(QDir(split).filePath("manifest.sha256")),
              contentsOf(QDir(whole).filePath("manifest.sha256")));
}

TEST(Poster, BandsJoinedEqualTheWholePictureAndNothingElse)
{
    QTemporaryDir dir;
    const QStringList picture = {"render",  "--size", "300x203",   "--center", "-0.75,0.1",
                                 "--width", "0.4",    "--palette", "fire"};
    ASSERT_EQ(runDwell(picture + QStringList{"-o", dir.filePath("whole.png")}).exitCode, 0);
    QStringList bands;
    for (const int band : {2, 0, 3, 1}) {
        bands += dir.filePath(QString("band%1.png").arg(band));
        const QStringList tile = {"--threads", "1", "--tile", QString("%1/4").arg(band)};
        ASSERT_EQ(runDwell(picture + tile + QStringList{"-o", bands.last()}).exitCode, 0);
    }
    const DwellRun join = runDwell(QStringList{"join", "-o", dir.filePath("joined.png")} + bands);
    ASSERT_EQ(join.exitCode, 0) << qPrintable(join.standardError);
    EXPECT_EQ(contentsOf(dir.filePath("joined.png")), contentsOf(dir.filePath("whole.png")));

    // Bands of another picture, or one band twice, are refused.
    const QString other = dir.filePath("other.png");
    ASSERT_EQ(runDwell({"render", "--size", "300x203", "--tile", "1/4", "-o", other}).exitCode, 0);
    for (const QStringList &wrong : {QStringList{bands[0], bands[1], other, bands[3]},
                                     QStringList{bands[0], bands[1], bands[1], bands[2]}}) {
        const DwellRun refused =
            runDwell(QStringList{"join", "-o", dir.filePath("no.png")} + wrong);
        EXPECT_EQ(refused.exitCode, 2) << qPrintable(refused.standardError);
        EXPECT_FALSE(QFile::exists(dir.filePath("no.png")));
    }
}

} // namespace dwell
