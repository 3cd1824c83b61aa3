#include "OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace dwell {

namespace {

// What write() goes on with: a descriptor to write into, or a path to replace.
struct Target {
    QString problem;
    int stream = -1;
    QString replacePath;
    std::optional<mode_t> oldMode;
};

Target refusal(const QString &why)
{
    Target target;
    target.problem = why;
    return target;
}

Target stream(int fd)
{
    Target target;
    target.stream = fd;
    return target;
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

std::optional<struct stat> statusOf(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

// Names of descriptors the shell opened: reopening them would truncate or
// replace what they stand for.
std::optional<int> descriptorNamed(const QString &path)
{
    if (path == QLatin1String("/dev/stdout"))
        return 1;
    if (path == QLatin1String("/dev/stderr"))
        return 2;
    static const QRegularExpression name(QStringLiteral("^/(?:dev/fd|proc/self/fd)/(\\d+)$"));
    const QRegularExpressionMatch match = name.match(path);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

// Root may write anything: a file without a single write bit is read-only all the same.
bool readOnly(const struct stat &status)
{
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// The new file goes where the links lead, and appears there by a rename.
Target replacement(const QString &path, std::optional<mode_t> oldMode)
{
    QString target = QFileInfo(path).absoluteFilePath();
    for (int depth = 0; depth < 40 && QFileInfo(target).isSymLink(); ++depth)
        target = QFileInfo(target).symLinkTarget();
    const QString folder = QDir::toNativeSeparators(QFileInfo(target).absolutePath());
    if (!QFileInfo(folder).isDir())
        return refusal(QObject::tr("the folder %1 does not exist").arg(folder));
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return refusal(QObject::tr("the folder %1 is not writable").arg(folder));
    Target replaced;
    replaced.replacePath = target;
    replaced.oldMode = oldMode;
    return replaced;
}

Target unopened(const QString &path, int code, OutputFile::Reader reader)
{
    const std::optional<struct stat> status = statusOf(path);
    if (code == ENOENT)
        return replacement(path, std::nullopt);
    if (code == EISDIR)
        return refusal(QObject::tr("it is a folder"));
    if (code == EACCES && status && S_ISREG(status->st_mode))
        return refusal(QObject::tr("the file is read-only"));
    if (code == ENXIO && status && S_ISSOCK(status->st_mode))
        return refusal(QObject::tr("it is a socket"));
    if (code != ENXIO || !status || !S_ISFIFO(status->st_mode))
        return refusal(systemError(code));
    if (reader == OutputFile::Reader::Refuse)
        return refusal(QObject::tr("no program is reading from it"));
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return refusal(systemError(errno));
    return stream(fd);
}

// Opened without truncating and without waiting: what is there decides how
// it is written, with no gap in which it could change.
Target examine(const QString &path, OutputFile::Reader reader)
{
    if (const std::optional<int> named = descriptorNamed(path)) {
        const int fd = ::fcntl(*named, F_DUPFD_CLOEXEC, 3);
        return fd < 0 ? refusal(systemError(errno)) : stream(fd);
    }
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return unopened(path, errno, reader);
    struct stat status {};
    ::fstat(fd, &status);
    if (!S_ISREG(status.st_mode)) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return stream(fd);
    }
    ::close(fd);
    if (readOnly(status))
        return refusal(QObject::tr("the file is read-only"));
    return replacement(path, status.st_mode & 07777);
}

bool writeStream(int fd, const OutputFile::Body &body, QString *error)
{
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        ::close(fd);
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

bool replaceAtomically(const Target &target, const OutputFile::Body &body, QString *error)
{
    QSaveFile file(target.replacePath);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    // Best effort, as some file systems keep no modes.
    if (target.oldMode)
        ::fchmod(file.handle(), *target.oldMode);
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
    // Opening a FIFO and closing it would tell its reader the data had ended.
    if (const auto status = statusOf(path); status && S_ISFIFO(status->st_mode))
        return {};
    const Target target = examine(path, Reader::Refuse);
    if (target.stream >= 0)
        ::close(target.stream);
    return target.problem;
}

bool write(const QString &path, const Body &body, QString *error, Reader reader)
{
    const Target target = examine(path, reader);
    if (!target.problem.isEmpty()) {
        *error = target.problem;
        return false;
    }
    if (target.stream >= 0)
        return writeStream(target.stream, body, error);
    return replaceAtomically(target, body, error);
}

} // namespace OutputFile

} // namespace dwell
