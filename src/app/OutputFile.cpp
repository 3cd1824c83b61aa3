#include "OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<struct stat> statusOf(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

bool writable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

// Root may write anything: a file without a single write bit is read-only all the same.
bool readOnly(const struct stat &status)
{
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool writeDirectly(const QString &path, const OutputFile::Body &body, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    if (!body(file, error))
        return false;
    file.close();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool replaceAtomically(const QString &path, const std::optional<struct stat> &old,
                       const OutputFile::Body &body, QString *error)
{
    // Through a link to the file it names, so the link stays a link.
    QSaveFile file(old ? QFileInfo(path).canonicalFilePath() : path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (old && ::fchmod(file.handle(), old->st_mode & 07777) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return false;
    }
    if (!body(file, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

namespace OutputFile {

QString problem(const QString &path)
{
    if (const auto status = statusOf(path)) {
        if (S_ISDIR(status->st_mode))
            return QObject::tr("it is a folder");
        if (!writable(path) || (S_ISREG(status->st_mode) && readOnly(*status)))
            return QObject::tr("the file is read-only");
        if (!S_ISREG(status->st_mode))
            return {};
    }
    // A regular file is replaced by a new one beside it.
    const QFileInfo info(path);
    const QString target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QString folder = QFileInfo(target).absolutePath();
    if (!QFileInfo(folder).isDir())
        return QObject::tr("the folder %1 does not exist").arg(QDir::toNativeSeparators(folder));
    if (!writable(folder))
        return QObject::tr("the folder %1 is not writable").arg(QDir::toNativeSeparators(folder));
    return {};
}

bool write(const QString &path, const Body &body, QString *error)
{
    if (const QString why = problem(path); !why.isEmpty()) {
        *error = why;
        return false;
    }
    const std::optional<struct stat> old = statusOf(path);
    if (old && !S_ISREG(old->st_mode))
        return writeDirectly(path, body, error);
    return replaceAtomically(path, old, body, error);
}

} // namespace OutputFile
