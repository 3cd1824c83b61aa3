#include "KernelOracle.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace dwell {

namespace {

struct DwellRun {
    int exitCode;
    QString standardError;
};

DwellRun runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {-2, "did not finish"};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

DwellRun runDwell(const QStringList &arguments)
{
    return runProgram(DWELL_BINARY, arguments);
}

// As a user who may run one process and no thread more (root ignores the limit).
DwellRun runDwellWithoutThreads(const QStringList &arguments)
{
    QStringList command = {"-c", "ulimit -u 1 && exec \"$0\" \"$@\"", DWELL_BINARY};
    if (geteuid() != 0)
        return runProgram("bash", command + arguments);
    return runProgram("setpriv",
                      QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "bash"} +
                          command + arguments);
}

mode_t modeOf(const QString &path, bool followLinks = true)
{
    struct stat status {};
    const QByteArray name = QFile::encodeName(path);
    if ((followLinks ? ::stat(name, &status) : ::lstat(name, &status)) != 0)
        return 0;
    return status.st_mode;
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a reader of the FIFO gets while dwell writes the picture into it. The
// reader is there first, so dwell never waits for one.
QByteArray readThroughFifo(const QString &fifo, const QStringList &arguments, int *exitCode)
{
    const int fd = ::open(QFile::encodeName(fifo), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return {};
    QProcess process;
    process.start(DWELL_BINARY, arguments);
    if (!process.waitForStarted())
        return {};
    QByteArray received;
    const auto drain = [&] {
        char chunk[4096];
        for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;)
            received.append(chunk, n);
    };
    for (int wait = 0; wait < 6000 && !process.waitForFinished(10); ++wait)
        drain();
    drain();
    ::close(fd);
    *exitCode = process.exitCode();
    return received;
}

} // namespace

TEST(RenderCommand, WritesTheKernelsPicture)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("spot.png");
    const DwellRun run =
        runDwell({"render", "--size", "33x21", "--center", "-0.75,0.1", "--width", "0.5", "--dwell",
                  "600", "--threads", "3", "--origin", "0.01,0", "--escape", "9", "-o", path});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.standardError);
    EXPECT_TRUE(run.standardError.contains("pixel-iterations per second"));

    QImage image(path);
    ASSERT_EQ(image.size(), QSize(33, 21));
    image = image.convertToFormat(QImage::Format_RGB888);
    const double step = image.text("ViewStep").toDouble();
    const double viewX = image.text("ViewX").toDouble();
    const double viewY = image.text("ViewY").toDouble();
    EXPECT_DOUBLE_EQ(step, 0.5 / 33);
    EXPECT_DOUBLE_EQ(viewX + step * 16.5, -0.75);
    EXPECT_DOUBLE_EQ(viewY - step * 10.5, 0.1);
    EXPECT_TRUE(image.text("Unfinished").isEmpty());
    const Scene scene{{viewX, viewY, step}, 0.01, 0, 600, 9};
    EXPECT_TRUE(
        run.standardError.contains(QString(", %1 iterations, ").arg(kernelTotal(scene, 33, 21))))
        << qPrintable(run.standardError);
    const std::vector<std::uint8_t> expected = kernelPixels(scene, 33, 21);
    for (int r = 0; r < 21; ++r)
        ASSERT_TRUE(std::equal(image.constScanLine(r), image.constScanLine(r) + 3 * 33,
                               expected.begin() + 3 * 33 * r))
            << "line " << r;
}

TEST(RenderCommand, BadCommandLinesExitWithStatusTwoAndWriteNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("never.png");
    // Unreadable values and stray words; one request the renderer rejects
    // stands for the rest, which its own tests list.
    const QList<QStringList> bad = {
        {"render", "--size", "0x10", "-o", path}, {"render", "--size", "wide", "-o", path},
        {"render", "--center", "1", "-o", path},  {"render", "--dwell", "many", "-o", path},
        {"render", "--bogus", "-o", path},        {"render"},
        {"render", "extra", "-o", path},
    };
    for (const QStringList &arguments : bad) {
        const DwellRun run = runDwell(arguments);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(run.standardError.startsWith("dwell: ")) << qPrintable(run.standardError);
        EXPECT_FALSE(QFile::exists(path)) << qPrintable(arguments.join(' '));
    }
}

TEST(RenderCommand, WritesStreamsDirectly)
{
    QTemporaryDir dir;
    const QStringList small = {"render", "--size", "8x6", "--dwell", "50", "-o"};
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    int exitCode = -1;
    const QByteArray received = readThroughFifo(fifo, small + QStringList{fifo}, &exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(QImage::fromData(received, "PNG").size(), QSize(8, 6));
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));

    // Standard output appended to a file: what the shell wrote before stays.
    const QString log = dir.filePath("log");
    {
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("HEADER\n");
    }
    QProcess process;
    process.setStandardOutputFile(log, QIODevice::Append);
    process.start(DWELL_BINARY, small + QStringList{"/dev/stdout"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    const QByteArray written = contentsOf(log);
    EXPECT_TRUE(written.startsWith("HEADER\n"));
    EXPECT_EQ(QImage::fromData(written.mid(7), "PNG").size(), QSize(8, 6));
}

TEST(RenderCommand, ReplacesFilesThroughLinksAndKeepsWhatItMayNotReplace)
{
    QTemporaryDir dir;
    const QStringList small = {"render", "--size", "8x6", "--dwell", "50", "-o"};
    // A link is written through and stays a link; the file keeps its permissions.
    const QString kept = dir.filePath("kept.png");
    const QString link = dir.filePath("link.png");
    ASSERT_TRUE(QFile(kept).open(QIODevice::WriteOnly));
    ASSERT_EQ(::chmod(QFile::encodeName(kept), 0640), 0);
    ASSERT_TRUE(QFile::link(kept, link));
    DwellRun run = runDwell(small + QStringList{link});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.standardError);
    EXPECT_TRUE(S_ISLNK(modeOf(link, false)));
    EXPECT_EQ(QImage(kept).size(), QSize(8, 6));
    EXPECT_EQ(modeOf(kept) & 0777, 0640u);

    const QString dangling = dir.filePath("dangling.png");
    ASSERT_TRUE(QFile::link(dir.filePath("made.png"), dangling));
    run = runDwell(small + QStringList{dangling});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.standardError);
    EXPECT_TRUE(S_ISLNK(modeOf(dangling, false)));
    EXPECT_EQ(QImage(dir.filePath("made.png")).size(), QSize(8, 6));

    const QString loop = dir.filePath("loop.png");
    ASSERT_TRUE(QFile::link(loop, loop));
    run = runDwell(small + QStringList{loop});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(S_ISLNK(modeOf(loop, false)));

    const QString readOnly = dir.filePath("read-only.png");
    {
        QFile file(readOnly);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly), 0444), 0);
    run = runDwell(small + QStringList{readOnly});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.standardError.contains("read-only")) << qPrintable(run.standardError);
    EXPECT_EQ(contentsOf(readOnly), "old");
    EXPECT_EQ(modeOf(readOnly) & 0777, 0444u);
}

TEST(RenderCommand, RefusesAnUnwritablePathBeforeRendering)
{
    QTemporaryDir dir;
    // A picture that would take days: only a check made first lets this end.
    const DwellRun run =
        runDwell({"render", "--size", "16384x16384", "--center", "0,0", "--width", "0.01",
                  "--dwell", "2147483647", "-o", dir.filePath("missing/picture.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.standardError.contains("does not exist")) << qPrintable(run.standardError);
}

TEST(RenderCommand, FailsWhenNoWorkerThreadCanStart)
{
    if (geteuid() == 0 && QStandardPaths::findExecutable("setpriv").isEmpty())
        GTEST_SKIP() << "as root, dropping to a user the limit binds needs setpriv";
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    const QString path = dir.filePath("never.png");
    const DwellRun run =
        runDwellWithoutThreads({"render", "--size", "8x6", "--threads", "2", "-o", path});
    EXPECT_EQ(run.exitCode, 1) << qPrintable(run.standardError);
    EXPECT_TRUE(run.standardError.contains("no worker thread could be started"))
        << qPrintable(run.standardError);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(RenderCommand, CountsIterationsPastThirtyTwoBits)
{
    QTemporaryDir dir;
    // Every point lies in the main cardioid: 16384 x 131073 iterations, past 2^31.
    const DwellRun run = runDwell({"render", "--size", "16384x1", "--center", "0,0", "--width",
                                   "0.01", "--dwell", "131073", "-o", dir.filePath("line.png")});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.standardError);
    EXPECT_TRUE(run.standardError.contains(", 2147500032 iterations, "))
        << qPrintable(run.standardError);
    EXPECT_FALSE(run.standardError.contains(", -")) << qPrintable(run.standardError);
}

} // namespace dwell
