#include "KernelOracle.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct DwellRun {
    int exitCode;
    QString standardError;
};

DwellRun runDwell(const QStringList &arguments)
{
    QProcess process;
    process.start(DWELL_BINARY, arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
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
    const std::vector<std::uint8_t> expected =
        kernelPixels(Scene{{viewX, viewY, step}, 0.01, 0, 600, 9}, 33, 21);
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
