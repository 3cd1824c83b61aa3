#pragma once

#include <QFileInfo>
#include <QSettings>
#include <QString>

namespace dwell {

// The folder a file dialog of the given kind last used, kept between runs.
namespace RecentFolders {

inline QString folder(const QString &kind)
{
    return QSettings().value(QStringLiteral("folders/") + kind).toString();
}

// The path in that folder, for a dialog to start with.
inline QString in(const QString &kind, const QString &name)
{
    const QString last = folder(kind);
    return last.isEmpty() ? name : last + QLatin1Char('/') + name;
}

inline void remember(const QString &kind, const QString &path)
{
    QSettings().setValue(QStringLiteral("folders/") + kind, QFileInfo(path).absolutePath());
}

} // namespace RecentFolders

} // namespace dwell
