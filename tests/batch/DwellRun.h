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

// Standard output is appended to the file appendTo names, if any.
inline DwellRun runDwell(const QStringList &arguments, const QString &program = DWELL_BINARY,
                         const QString &appendTo = {})
{
    QProcess process;
    if (!appendTo.isEmpty())
        process.setStandardOutputFile(appendTo, QIODevice::Append);
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

inline bool writeFile(const QString &path, const QByteArray &contents,
                      QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile file(path);
    return file.open(mode) && file.write(contents) == contents.size();
}

// The kernel's picture of the scene, w x h pixels.
inline QImage kernelImage(const Scene &scene, int w, int h)
{
    const std::vector<std::uint8_t> pixels = kernelPixels(scene, w, h);
    return QImage(pixels.data(), w, h, 3 * w, QImage::Format_RGB888).copy();
}

} // namespace dwell
