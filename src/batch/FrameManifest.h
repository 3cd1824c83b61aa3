#pragma once

#include <QByteArray>
#include <QString>

namespace dwell {

// The checksums of a folder's finished frames, in sha256sum's format so
// that `sha256sum -c manifest.sha256` checks them too. Runs that share the
// folder, on one machine or several, take turns through a lock file.
class FrameManifest {
public:
    explicit FrameManifest(const QString &folder);

    // The recorded SHA-256 of the named file, in hex, or empty.
    QByteArray checksumOf(const QString &name) const;
    // Records the file's checksum in place of any earlier one; false, with
    // error set, when the manifest cannot be written.
    bool record(const QString &name, const QByteArray &checksum, QString *error) const;

    // The SHA-256 of a file's contents in hex, empty when it cannot be read.
    static QByteArray checksumOfFile(const QString &path);

private:
    QString m_folder;
};

} // namespace dwell
