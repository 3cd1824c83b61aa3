#pragma once

#include "KernelOracle.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace dwell {

struct DwellRun {
    int exitCode;
    QString standardError;
};

inline DwellRun runDwell(const QStringList &arguments, const QString &program = DWELL_BINARY)
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

inline QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The plane window a rendered picture records.
inline PlaneWindow windowOf(const QImage &image)
{
    return {image.text("ViewX").toDouble(), image.text("ViewY").toDouble(),
            image.text("ViewStep").toDouble()};
}

// The kernel's picture of the scene, w x h pixels.
inline QImage kernelImage(const Scene &scene, int w, int h)
{
    const std::vector<std::uint8_t> pixels = kernelPixels(scene, w, h);
    return QImage(pixels.data(), w, h, 3 * w, QImage::Format_RGB888).copy();
}

} // namespace dwell
