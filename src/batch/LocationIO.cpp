#include "LocationIO.h"

#include "LocationFile.h"
#include "OutputFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

namespace dwell {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("LocationIO", text);
}

// A location file is a few hundred bytes; a picture's text chunks come first.
constexpr qint64 kLargestLocation = 1 << 20;

bool isDecimalPair(const QStringList &parts)
{
    return parts.size() == 2 && isDecimalText(parts[0].toStdString()) &&
           isDecimalText(parts[1].toStdString());
}

std::optional<RenderRequest> fromPicture(const QString &path, QString *error)
{
    QImageReader reader(path, "png");
    const auto fail = [error](const QString &why) {
        *error = why;
        return std::optional<RenderRequest>();
    };
    if (reader.text("Software") != QLatin1String("Dwell"))
        return fail(tr("it is a picture, but not one Dwell saved"));
    const QStringList center = reader.text("Center").split(QLatin1Char(','));
    const QStringList origin = reader.text("Origin").split(QLatin1Char(','));
    const QString width = reader.text("Width");
    bool dwellOk = false;
    bool escapeOk = false;
    RenderRequest r;
    r.maxDwell = reader.text("MaxDwell").toInt(&dwellOk);
    r.escapeRadius = reader.text("EscapeRadius").toFloat(&escapeOk);
    if (!isDecimalPair(center) || !isDecimalPair(origin) || !isDecimalText(width.toStdString()) ||
        !dwellOk || !escapeOk)
        return fail(tr("its record of where it was made is incomplete"));
    r.centerXText = center[0].toStdString();
    r.centerYText = center[1].toStdString();
    r.centerX = center[0].toDouble();
    r.centerY = center[1].toDouble();
    r.widthText = width.toStdString();
    r.planeWidth = width.toDouble();
    r.originX = origin[0].toDouble();
    r.originY = origin[1].toDouble();
    r.width = reader.size().width();
    r.height = reader.size().height();
    if (reader.text("Engine") == QLatin1String("deep"))
        r.engine = Engine::Deep;
    if (const QString palette = reader.text("Palette"); !palette.isEmpty()) {
        r.coloring.name = palette.toStdString();
        // Recorded for palettes only; the defaults stand where they are missing.
        bool densityOk = false;
        const double density = reader.text("Density").toDouble(&densityOk);
        if (densityOk)
            r.coloring.density = density;
        r.coloring.offset = reader.text("Offset").toDouble();
    }
    if (const std::string problem = r.problem(); !problem.empty())
        return fail(QString::fromStdString(problem));
    return r;
}

} // namespace

std::optional<RenderRequest> readLocation(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray head = file.peek(8);
    if (head.startsWith("\x89PNG"))
        return fromPicture(path, error);
    const QByteArray text = file.read(kLargestLocation + 1);
    if (text.size() > kLargestLocation) {
        *error = tr("it is too large to be a location");
        return std::nullopt;
    }
    std::string why;
    std::optional<RenderRequest> request =
        LocationFile::parse(std::string_view(text.constData(), std::size_t(text.size())), &why);
    if (!request)
        *error = QString::fromStdString(why);
    return request;
}

bool writeLocation(const QString &path, const RenderRequest &request, QString *error)
{
    const std::string text = LocationFile::text(request);
    return OutputFile::write(
        path,
        [&text](QIODevice &device, QString *why) {
            if (device.write(text.data(), qint64(text.size())) == qint64(text.size()))
                return true;
            *why = device.errorString();
            return false;
        },
        error, OutputFile::Reader::Refuse);
}

} // namespace dwell
