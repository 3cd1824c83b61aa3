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

// A zoom from width 1 down to 1e-20 by ten a frame: frames 0 to 20, the
// last ones below what doubles resolve.
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

TEST(Zoom, FramesFollowTheFactorAndASplitRunEqualsOneRun)
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

    // The distributed recipe: GNU Parallel with two job slots and three ranges.
    const QString parallel = QStandardPaths::findExecutable("parallel");
    if (parallel.isEmpty())
        GTEST_SKIP() << "GNU Parallel is not installed";
    const QString split = dir.filePath("split");
    // Another thread count and the scalar kernel path: the same bytes.
    qputenv("DWELL_KERNEL", "scalar");
    const DwellRun jobs =
        runDwell(QStringList{"--will-cite", "-j2", DWELL_BINARY} + zoomInto(split) +
                     QStringList{"--threads", "2", "--frames", "{}", ":::", "0:6", "7:13", "14:20"},
                 parallel);
    qunsetenv("DWELL_KERNEL");
    ASSERT_EQ(jobs.exitCode, 0) << qPrintable(jobs.standardError);
    for (int k = 0; k <= 20; ++k)
        EXPECT_EQ(contentsOf(frame(split, k)), contentsOf(frame(whole, k))) << k;
    EXPECT_EQ(contentsOf(QDir(split).filePath("manifest.sha256")),
              contentsOf(QDir(whole).filePath("manifest.sha256")));
}

TEST(Zoom, ResumesWithOnlyTheMissingAndCorruptFrames)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("frames");
    const QStringList zoom = zoomInto(folder) + QStringList{"--frames", "0:8"};
    ASSERT_EQ(runDwell(zoom).exitCode, 0);
    const QByteArray third = contentsOf(frame(folder, 3));
    const QByteArray fifth = contentsOf(frame(folder, 5));
    const QDateTime untouched = QFileInfo(frame(folder, 4)).lastModified();
    QFile corrupt(frame(folder, 3));
    ASSERT_TRUE(corrupt.open(QIODevice::Append));
    corrupt.write("x");
    corrupt.close();
    ASSERT_TRUE(QFile::remove(frame(folder, 5)));

    const DwellRun again = runDwell(zoom);
    ASSERT_EQ(again.exitCode, 0) << qPrintable(again.standardError);
    EXPECT_TRUE(again.standardError.contains("frame 3 does not match"));
    EXPECT_TRUE(again.standardError.contains("2 frames rendered, 7 already complete"))
        << qPrintable(again.standardError);
    EXPECT_EQ(contentsOf(frame(folder, 3)), third);
    EXPECT_EQ(contentsOf(frame(folder, 5)), fifth);
    EXPECT_EQ(QFileInfo(frame(folder, 4)).lastModified(), untouched);
    // With ffmpeg the movie is made once every frame is there; without it,
    // the command says how.
    const QString movie = dir.filePath("zoom.mp4");
    const DwellRun encode = runDwell(zoomInto(folder) + QStringList{"--encode", movie});
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty()) {
        EXPECT_EQ(encode.exitCode, 1);
        EXPECT_TRUE(encode.standardError.contains("ffmpeg -framerate 30 -i "));
    } else {
        EXPECT_EQ(encode.exitCode, 0) << qPrintable(encode.standardError);
        EXPECT_GT(QFileInfo(movie).size(), 0);
    }
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
        ASSERT_EQ(runDwell(picture + QStringList{"--threads", "1", "--tile",
                                                 QString("%1/4").arg(band), "-o", bands.last()})
                      .exitCode,
                  0);
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
