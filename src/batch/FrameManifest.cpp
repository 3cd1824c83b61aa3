#include "FrameManifest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace dwell {

namespace {

const QString kManifest = QStringLiteral("manifest.sha256");
const QString kLock = QStringLiteral(".manifest.lock");

// Holds an exclusive lock on a file for as long as it lives.
class FileLock {
public:
    explicit FileLock(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    {
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    bool held() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Name to checksum, from "checksum  name" lines.
QMap<QString, QByteArray> entriesIn(const QString &path)
{
    QMap<QString, QByteArray> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const qsizetype gap = line.indexOf("  ");
        if (gap == 64)
            entries.insert(QString::fromUtf8(line.mid(66)), line.left(64));
    }
    return entries;
}

} // namespace

FrameManifest::FrameManifest(const QString &folder) : m_folder(folder) {}

QByteArray FrameManifest::checksumOf(const QString &name) const
{
    return entriesIn(QDir(m_folder).filePath(kManifest)).value(name);
}

bool FrameManifest::record(const QString &name, const QByteArray &checksum, QString *error) const
{
    const QDir folder(m_folder);
    const FileLock lock(folder.filePath(kLock));
    if (!lock.held()) {
        *error = QStringLiteral("cannot lock %1").arg(folder.filePath(kLock));
        return false;
    }
    QMap<QString, QByteArray> entries = entriesIn(folder.filePath(kManifest));
    entries.insert(name, checksum);
    QSaveFile file(folder.filePath(kManifest));
    if (file.open(QIODevice::WriteOnly)) {
        for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry)
            file.write(entry.value() + "  " + entry.key().toUtf8() + '\n');
        if (file.commit())
            return true;
    }
    *error = file.errorString();
    return false;
}

QByteArray FrameManifest::checksumOfFile(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result().toHex();
}

} // namespace dwell
