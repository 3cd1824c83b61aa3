#include "PaletteLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace dwell {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PaletteLibrary", text);
}

const QString kShipped = QStringLiteral(":/palettes");
const QString kSuffix = QStringLiteral(".palette");

QStringList namesIn(const QString &folder)
{
    QStringList found;
    for (const QFileInfo &file :
         QDir(folder).entryInfoList({QStringLiteral("*.palette")}, QDir::Files, QDir::Name))
        found << file.completeBaseName();
    return found;
}

bool load(const QString &path, std::shared_ptr<const Palette> *palette, QString *error)
{
    QFile file(path);
    // A palette is a few lines; anything far larger is not one.
    if (!file.open(QIODevice::ReadOnly) || file.size() > (1 << 16)) {
        *error = tr("cannot read %1").arg(path);
        return false;
    }
    std::string why;
    const std::optional<Palette> parsed = Palette::parse(file.readAll().toStdString(), &why);
    if (!parsed) {
        *error = tr("%1 is not a palette: %2").arg(path, QString::fromStdString(why));
        return false;
    }
    *palette = std::make_shared<const Palette>(*parsed);
    return true;
}

} // namespace

namespace PaletteLibrary {

QString userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/palettes");
}

QStringList names()
{
    QStringList all{kDigits};
    for (const QString &name : namesIn(kShipped) + namesIn(userFolder()))
        if (!all.contains(name))
            all << name;
    return all;
}

bool find(const QString &nameOrPath, std::shared_ptr<const Palette> *palette, QString *error)
{
    palette->reset();
    if (nameOrPath == kDigits)
        return true;
    for (const QString &folder : {userFolder(), kShipped})
        if (const QString path = folder + QLatin1Char('/') + nameOrPath + kSuffix;
            QFileInfo::exists(path))
            return load(path, palette, error);
    if (QFileInfo(nameOrPath).isFile())
        return load(nameOrPath, palette, error);
    *error = tr("no palette named %1; there are: %2").arg(nameOrPath, names().join(", "));
    return false;
}

} // namespace PaletteLibrary

} // namespace dwell
