#include "JoinCommand.h"

#include "Console.h"
#include "OutputFile.h"
#include "PngReader.h"
#include "PngWriter.h"
#include "StripPng.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <memory>
#include <vector>

namespace dwell {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("JoinCommand", text);
}

struct Band {
    QString path;
    std::unique_ptr<PngReader> reader;
    Tile tile;
    int height = 0;
    // The picture's own texts, without the band's.
    PngTexts texts;
};

// The band's place, from the text chunk render --tile wrote.
bool readBand(Band &band, QString *error)
{
    band.reader = std::make_unique<PngReader>();
    if (!band.reader->open(band.path)) {
        *error = tr("%1: %2").arg(band.path, band.reader->error());
        return false;
    }
    static const QRegularExpression form(
        QStringLiteral("^(\\d+)/(\\d+), rows (\\d+)-(\\d+) of (\\d+)$"));
    QRegularExpressionMatch match;
    for (const auto &[key, text] : band.reader->texts()) {
        if (key == "Tile")
            match = form.match(QString::fromStdString(text));
        else
            band.texts.emplace_back(key, text);
    }
    if (!match.hasMatch()) {
        *error = tr("%1 is not a band made with dwell render --tile").arg(band.path);
        return false;
    }
    band.tile = {match.captured(1).toInt(), match.captured(2).toInt()};
    band.height = match.captured(5).toInt();
    const bool consistent =
        band.tile.count >= 1 && band.tile.index < band.tile.count &&
        band.tile.firstRow(band.height) == match.captured(3).toInt() &&
        band.tile.endRow(band.height) - 1 == match.captured(4).toInt() &&
        band.reader->height() == band.tile.endRow(band.height) - band.tile.firstRow(band.height);
    if (!consistent)
        *error = tr("%1: its size does not match the band it says it is").arg(band.path);
    return consistent;
}

// Empty when the bands, in order, make one whole picture; else why not.
QString problemWith(const std::vector<Band> &bands)
{
    const Band &first = bands.front();
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const Band &band = bands[i];
        if (band.tile.count != int(bands.size()) || band.tile.index != int(i))
            return tr("the bands must be each of 0/%1 to %2/%1 once; %3 is %4/%5")
                .arg(first.tile.count)
                .arg(first.tile.count - 1)
                .arg(band.path)
                .arg(band.tile.index)
                .arg(band.tile.count);
        if (band.texts != first.texts || band.height != first.height ||
            band.reader->width() != first.reader->width())
            return tr("%1 and %2 are bands of different pictures").arg(first.path, band.path);
    }
    return {};
}

bool copyBands(std::vector<Band> &bands, PngWriter &writer)
{
    const int width = bands.front().reader->width();
    std::vector<std::uint8_t> strip(std::size_t(3) * std::size_t(width) * 16);
    for (Band &band : bands) {
        for (int row = 0, rows = band.reader->height(); row < rows; row += 16) {
            const int count = std::min(16, rows - row);
            if (!band.reader->readRows(strip.data(), count) ||
                !writer.writeRows(strip.data(), count))
                return false;
        }
    }
    return true;
}

} // namespace

int runJoin(const QCommandLineParser &parser)
{
    const QString output = parser.value(QStringLiteral("output"));
    std::vector<Band> bands;
    for (const QString &path : parser.positionalArguments().mid(1)) {
        Band band;
        band.path = path;
        bands.push_back(std::move(band));
    }
    QString error;
    if (output.isEmpty() || bands.empty())
        error = tr("join takes -o FILE and the bands to join");
    for (Band &band : bands)
        if (error.isEmpty())
            readBand(band, &error);
    std::sort(bands.begin(), bands.end(),
              [](const Band &a, const Band &b) { return a.tile.index < b.tile.index; });
    if (error.isEmpty())
        error = problemWith(bands);
    if (!error.isEmpty()) {
        say(error + '\n' + tr("Try 'dwell join --help'."));
        return 2;
    }
    if (const QString problem = OutputFile::problem(output); !problem.isEmpty()) {
        say(tr("cannot write %1: %2").arg(output, problem));
        return 1;
    }
    const bool written = OutputFile::write(
        output,
        [&bands](QIODevice &device, QString *writeError) {
            PngWriter writer(device);
            const Band &first = bands.front();
            const bool done = writer.begin(first.reader->width(), first.height, first.texts) &&
                              copyBands(bands, writer) && writer.finish();
            if (!done) {
                *writeError = writer.error();
                for (const Band &band : bands)
                    if (!band.reader->error().isEmpty())
                        *writeError = band.path + ": " + band.reader->error();
            }
            return done;
        },
        &error, OutputFile::Reader::Wait);
    if (!written) {
        say(tr("%1 is not written: %2").arg(output, error));
        return 1;
    }
    say(tr("%1: %2 bands joined, %3x%4")
            .arg(output)
            .arg(bands.size())
            .arg(bands.front().reader->width())
            .arg(bands.front().height));
    return 0;
}

} // namespace dwell
