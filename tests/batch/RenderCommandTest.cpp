#include "BitmapImage.h"
#include "DwellRun.h"
#include "LocationIO.h"
#include "PicturePng.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

// QProcess's helper thread runs inside Qt, which is built without ThreadSanitizer: its
// synchronisation is invisible to it, so only our own code's races are reported.
extern "C" const char *__tsan_default_options()
{
    return "ignore_noninstrumented_modules=1";
}

namespace dwell {

namespace {

DwellRun renderSmall(const QString &path, const QString &appendTo = {})
{
    return runDwell({"render", "--size", "8x6", "--dwell", "50", "-o", path}, DWELL_BINARY,
                    appendTo);
}

mode_t modeOf(const QString &path, bool followLinks = true)
{
    struct stat status {};
    const QByteArray name = QFile::encodeName(path);
    if ((followLinks ? ::stat(name, &status) : ::lstat(name, &status)) != 0)
        return 0;
    return status.st_mode;
}

} // namespace

TEST(PicturePng, KeepsEveryByteAndWhereThePictureCameFromOrWritesNothing)
{
    BitmapImage image(7, 5);
    for (std::size_t i = 0; i < image.byteCount(); ++i)
        image.bitmapData()[i] = std::uint8_t(i * 37 % 256);
    const Scene scene{{-0.1234567890123456, 0.75, 1.0 / 3}, 0.125, -0.5, 4096, 9.5, true};
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.png");
    QString error;
    ASSERT_TRUE(writePicturePng(path, image, scene, &error, {.complete = false}))
        << qPrintable(error);

    QImage read(path);
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB888),
              QImage(image.bitmapData(), 7, 5, 21, QImage::Format_RGB888));
    EXPECT_EQ(read.text("Origin"), "0.125,-0.5");
    EXPECT_EQ(read.text("EscapeRadius"), "9.5");
    EXPECT_TRUE(read.text("MixedDwell").contains("limit changed"));
    EXPECT_TRUE(read.text("Unfinished").contains("before every line"));

    // What cannot be written leaves nothing behind; the window never waits on an unread FIFO.
    const QString empty = dir.filePath("empty.png");
    EXPECT_FALSE(writePicturePng(empty, BitmapImage(0, 4), {}, &error));
    EXPECT_FALSE(QFile::exists(empty));
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    EXPECT_FALSE(writePicturePng(fifo, image, {}, &error, {.reader = OutputFile::Reader::Refuse}));
    EXPECT_EQ(error, "no program is reading from it");
}

TEST(RenderCommand, WritesTheKernelsPictureEvenWiderThanTheWindowHolds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("spot.png");
    const DwellRun run = runDwell({"render", "--size", "20001x7", "--center", "-0.75,0.1",
                                   "--width", "0.5", "--dwell", "600", "--threads", "3", "--origin",
                                   "0.01,0", "--escape", "9", "-o", path});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.standardError);

    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB888);
    const PlaneWindow window{image.text("ViewX").toDouble(), image.text("ViewY").toDouble(),
                             image.text("ViewStep").toDouble()};
    EXPECT_DOUBLE_EQ(window.viewStep, 0.5 / 20001);
    EXPECT_DOUBLE_EQ(window.viewX + window.viewStep * 10000.5, -0.75);
    EXPECT_DOUBLE_EQ(window.viewY - window.viewStep * 3.5, 0.1);
    EXPECT_TRUE(image.text("Unfinished").isEmpty());
    const Scene scene{window, 0.01, 0, 600, 9};
    EXPECT_TRUE(
        run.standardError.contains(QString(", %1 iterations, ").arg(kernelTotal(scene, 20001, 7))))
        << qPrintable(run.standardError);
    EXPECT_EQ(image, kernelImage(scene, 20001, 7));
    // Every point in the main cardioid: 16384 x 131073 iterations, past 2^31.
    const DwellRun wide = runDwell({"render", "--size", "16384x1", "--center", "0,0", "--width",
                                    "0.01", "--dwell", "131073", "-o", dir.filePath("line.png")});
    ASSERT_EQ(wide.exitCode, 0) << qPrintable(wide.standardError);
    EXPECT_TRUE(wide.standardError.contains(", 2147500032 iterations, "))
        << qPrintable(wide.standardError);
}

TEST(RenderCommand, BadCommandLinesExitWithStatusTwoAndWriteNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("never.png");
    // One of each kind: a request the renderer rejects (its own tests list the rest), bad
    // values, unknown names, stray or missing words, each command's impossible requests.
    const QList<QStringList> bad = {
        {"render", "--size", "0x10", "-o", path},
        {"render", "--center", "1", "-o", path},
        {"render", "--bogus", "-o", path},
        {"render", "extra", "-o", path},
        {"render"},
        {"rendr", "-o", path},
        {"render", "-o", dir.filePath("a.JPG")},
        {"render", "--palette", "nosuch", "-o", path},
        {"render", "--size", "8x6", "--tile", "0/7", "-o", path},
        {"zoom", "--to", "1e-3", "--factor", "2", "--frames", "13:14", "-o", path},
        {"zoom", "--to", "1e-3", "--factor", "1", "-o", path},
        {"join", "-o", path, dir.filePath("missing.png")},
    };
    for (const QStringList &arguments : bad) {
        const DwellRun run = runDwell(arguments);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(run.standardError.startsWith("dwell: ")) << qPrintable(run.standardError);
        EXPECT_TRUE(QDir(dir.path()).isEmpty()) << qPrintable(arguments.join(' '));
    }
    EXPECT_EQ(runDwell({"--help-all"}).exitCode, 0);
}

TEST(RenderCommand, DeepEngineAgreesWithTheExactOneWhereBothApply)
{
    QTemporaryDir dir;
    // Near the branch tip at i both engines resolve a width of 1e-5, pixel for pixel.
    const auto render = [&dir](const QString &engine) {
        const QString path = dir.filePath(engine + ".png");
        const DwellRun run = runDwell({"render", "--size", "48x36", "--center", "0,1", "--width",
                                       "1e-5", "--dwell", "3000", "--engine", engine, "-o", path});
        EXPECT_EQ(run.exitCode, 0) << qPrintable(run.standardError);
        return QImage(path).convertToFormat(QImage::Format_RGB888);
    };
    const QImage exact = render("exact"), deep = render("deep");
    EXPECT_EQ(exact.text("Engine") + " " + deep.text("Engine"), "exact deep");
    EXPECT_EQ(exact, deep);
}

TEST(RenderCommand, WritesStreamsDirectlyAndReplacesFilesOnlyWhereItMay)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    QProcess reader;
    reader.start("cat", {fifo});
    ASSERT_TRUE(reader.waitForStarted());
    EXPECT_EQ(renderSmall(fifo).exitCode, 0);
    ASSERT_TRUE(reader.waitForFinished());
    EXPECT_EQ(QImage::fromData(reader.readAllStandardOutput(), "PNG").size(), QSize(8, 6));
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));
    // Standard output appended to a file: what the shell wrote before stays.
    const QString log = dir.filePath("log");
    ASSERT_TRUE(writeFile(log, "HEADER\n"));
    EXPECT_EQ(renderSmall("-", log).exitCode, 0);
    const QByteArray written = contentsOf(log);
    EXPECT_TRUE(written.startsWith("HEADER\n"));
    EXPECT_EQ(QImage::fromData(written.mid(7), "PNG").size(), QSize(8, 6));

    // A link is written through and stays a link; the file keeps its permissions.
    const QString kept = dir.filePath("kept.png"), link = dir.filePath("link.png");
    ASSERT_TRUE(QFile(kept).open(QIODevice::WriteOnly));
    ASSERT_EQ(::chmod(QFile::encodeName(kept), 0640), 0);
    ASSERT_TRUE(QFile::link(kept, link));
    DwellRun run = renderSmall(link);
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.standardError);
    EXPECT_TRUE(S_ISLNK(modeOf(link, false)));
    EXPECT_EQ(QImage(kept).size(), QSize(8, 6));
    EXPECT_EQ(modeOf(kept) & 0777, 0640u);

    const QString dangling = dir.filePath("dangling.png");
    ASSERT_TRUE(QFile::link(dir.filePath("made.png"), dangling));
    run = renderSmall(dangling);
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.standardError);
    EXPECT_TRUE(S_ISLNK(modeOf(dangling, false)));
    EXPECT_EQ(QImage(dir.filePath("made.png")).size(), QSize(8, 6));

    const QString loop = dir.filePath("loop.png");
    ASSERT_TRUE(QFile::link(loop, loop));
    EXPECT_EQ(renderSmall(loop).exitCode, 1);
    EXPECT_TRUE(S_ISLNK(modeOf(loop, false)));

    const QString readOnly = dir.filePath("read-only.png");
    ASSERT_TRUE(writeFile(readOnly, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly), 0444), 0);
    run = renderSmall(readOnly);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.standardError.contains("read-only")) << qPrintable(run.standardError);
    EXPECT_EQ(contentsOf(readOnly), "old");
    EXPECT_EQ(modeOf(readOnly) & 0777, 0444u);
    // A picture that would take days: only a check made before rendering lets this end.
    run = runDwell({"render", "--size", "16384x16384", "--center", "0,0", "--width", "0.01",
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
    // As a user who may run one process and no thread more (root ignores the limit).
    QStringList command = {"-c", "ulimit -u 1 && exec \"$0\" \"$@\"", DWELL_BINARY};
    command += {"render", "--size", "8x6", "--threads", "2", "-o", path};
    if (geteuid() == 0)
        command = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "bash"} + command;
    const DwellRun run = runDwell(command, geteuid() == 0 ? "setpriv" : "bash");
    EXPECT_EQ(run.exitCode, 1) << qPrintable(run.standardError);
    EXPECT_TRUE(run.standardError.contains("no worker thread could be started"))
        << qPrintable(run.standardError);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Location, KeepsEveryDigitAndRefusesWhatIsNotOne)
{
    QTemporaryDir dir;
    const RenderRequest place{
        .width = 320,
        .height = 240,
        .centerXText = "-1.7" + std::string(999, '3'),
        .centerYText = "0.0123456789012345678901234567890123456789",
        .widthText = "2.5e-1000",
        .engine = Engine::Deep,
        .originX = 0.25,
        .originY = -0.125,
        .escapeRadius = 9.5f,
        .maxDwell = 5000,
        .coloring = {.palette = {}, .name = "fire", .density = 2.5, .offset = 0.125}};
    const QString path = dir.filePath("place.toml");
    QString error;
    ASSERT_TRUE(writeLocation(path, place, &error)) << qPrintable(error);
    std::optional<RenderRequest> read = readLocation(path, &error);
    ASSERT_TRUE(read) << qPrintable(error);
    const auto fields = [](const RenderRequest &r) {
        return std::tie(r.centerXText, r.centerYText, r.widthText, r.originX, r.originY, r.maxDwell,
                        r.escapeRadius, r.width, r.height, r.engine, r.coloring.name,
                        r.coloring.density, r.coloring.offset);
    };
    EXPECT_EQ(fields(*read), fields(place));

    for (const char *bad : {"version = 2\n", "version = 1\ncenter = [1, 2]\n",
                            "version = 1\nsize = [0, 10]\n", "version = 1\ncenter = [\"1\"\n"}) {
        ASSERT_TRUE(writeFile(path, bad));
        error.clear();
        EXPECT_FALSE(readLocation(path, &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
    QImage foreign(4, 4, QImage::Format_RGB888);
    foreign.fill(Qt::red);
    ASSERT_TRUE(foreign.save(dir.filePath("foreign.png"))); // no place recorded: refused below

    // A picture leads back to its place, rendered again the same; far below doubles, deep.
    const QString first = dir.filePath("first.png");
    const DwellRun made =
        runDwell({"render", "--size", "24x18", "--center", "0,1", "--width", "2.5e-1000", "--dwell",
                  "300", "--palette", "viridis", "--density", "3", "-o", first});
    ASSERT_EQ(made.exitCode, 0) << qPrintable(made.standardError);
    read = readLocation(first, &error);
    ASSERT_TRUE(read) << qPrintable(error);
    ASSERT_TRUE(writeLocation(path, *read, &error));
    const QString again = dir.filePath("again.png");
    const DwellRun run = runDwell({"render", "--location", path, "-o", again});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.standardError);
    EXPECT_EQ(QImage(again), QImage(first));
    EXPECT_EQ(runDwell({"render", "--location", dir.filePath("foreign.png"), "-o", again}).exitCode,
              2);
}

} // namespace dwell
