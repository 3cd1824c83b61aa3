#include "RenderCommand.h"

#include "LocationFile.h"
#include "LocationIO.h"
#include "PaletteLibrary.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

namespace dwell {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RenderCommand", text);
}

const QString kSize = QStringLiteral("size");
const QString kCenter = QStringLiteral("center");
const QString kWidth = QStringLiteral("width");
const QString kDwell = QStringLiteral("dwell");
const QString kThreads = QStringLiteral("threads");
const QString kOrigin = QStringLiteral("origin");
const QString kEscape = QStringLiteral("escape");
const QString kOutput = QStringLiteral("output");
const QString kEngine = QStringLiteral("engine");
const QString kLocation = QStringLiteral("location");
const QString kPalette = QStringLiteral("palette");
const QString kDensity = QStringLiteral("density");
const QString kOffset = QStringLiteral("offset");
const QString kTile = QStringLiteral("tile");

bool parsePair(const QString &text, double *first, double *second)
{
    const QStringList parts = text.split(QLatin1Char(','));
    bool ok1 = false;
    bool ok2 = false;
    if (parts.size() == 2) {
        *first = parts[0].trimmed().toDouble(&ok1);
        *second = parts[1].trimmed().toDouble(&ok2);
    }
    return ok1 && ok2;
}

// A decimal number of any length and exponent: its text as given, and the
// nearest double (0 or infinite beyond the doubles' range).
bool parseDecimal(const QString &text, std::string *exact, double *nearest)
{
    const std::string trimmed = text.trimmed().toStdString();
    if (!isDecimalText(trimmed))
        return false;
    *exact = trimmed;
    *nearest = std::strtod(exact->c_str(), nullptr);
    return true;
}

bool parseExactPair(const QString &text, RenderRequest &request)
{
    const QStringList parts = text.split(QLatin1Char(','));
    return parts.size() == 2 && parseDecimal(parts[0], &request.centerXText, &request.centerX) &&
           parseDecimal(parts[1], &request.centerYText, &request.centerY);
}

bool parseSize(const QString &text, int *width, int *height)
{
    const QStringList parts = text.toLower().split(QLatin1Char('x'));
    bool ok1 = false;
    bool ok2 = false;
    if (parts.size() == 2) {
        *width = parts[0].toInt(&ok1);
        *height = parts[1].toInt(&ok2);
    }
    return ok1 && ok2;
}

// "I/N": band I (from 0) of N.
bool parseTile(const QString &text, Tile *tile)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,9})/(\\d{1,9})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    tile->index = match.captured(1).toInt();
    tile->count = match.captured(2).toInt();
    return tile->count >= 1 && tile->index < tile->count;
}

// What render and zoom share: the picture, its place and its colouring.
void addPictureOptions(QCommandLineParser &parser)
{
    const RenderRequest defaults;
    const auto number = [](double value) { return QString::number(value, 'g', 17); };
    const auto pair = [&number](double x, double y) { return number(x) + ',' + number(y); };
    const QString size = QString::number(defaults.width) + 'x' + QString::number(defaults.height);
    parser.addOptions({
        {kSize,
         tr("Picture size in pixels, up to %1x%1 (%2).").arg(RenderRequest::kMaxSide).arg(size),
         QStringLiteral("WxH"), size},
        {kCenter,
         tr("Plane point at the picture's center (%1).")
             .arg(pair(defaults.centerX, defaults.centerY)),
         QStringLiteral("X,Y"), pair(defaults.centerX, defaults.centerY)},
        {kWidth,
         tr("Width of the picture in the plane, any exponent (%1).")
             .arg(number(defaults.planeWidth)),
         QStringLiteral("W"), number(defaults.planeWidth)},
        {kDwell, tr("Iteration limit per point (%1).").arg(defaults.maxDwell), QStringLiteral("N"),
         QString::number(defaults.maxDwell)},
        {kEngine,
         tr("auto, exact or deep: the plain kernel in 64-bit coordinates, or perturbation "
            "of an arbitrary-precision reference; auto takes the deep engine only where the "
            "pixel step falls under 64 units in the last place of the window's coordinates "
            "(auto)."),
         QStringLiteral("ENGINE"), QStringLiteral("auto")},
        {kThreads, tr("Worker threads (the machine's core count)."), QStringLiteral("T"),
         QString::number(QThread::idealThreadCount())},
        {kOrigin,
         tr("Starting value of the iteration (%1).").arg(pair(defaults.originX, defaults.originY)),
         QStringLiteral("X,Y"), pair(defaults.originX, defaults.originY)},
        {kEscape,
         tr("Escape bound on the squared modulus (%1).").arg(number(defaults.escapeRadius)),
         QStringLiteral("E"), number(defaults.escapeRadius)},
        {kPalette,
         tr("Colouring: digits (each dwell's hexadecimal digits), a palette's name (%1) or a "
            "palette file (digits).")
             .arg(PaletteLibrary::names().mid(1).join(QStringLiteral(", "))),
         QStringLiteral("NAME")},
        {kDensity, tr("Palette repeats per 32 dwells (1)."), QStringLiteral("X")},
        {kOffset, tr("Shift along the palette, in turns (0)."), QStringLiteral("Y")},
        {kLocation,
         tr("A location file, or a PNG Dwell saved, to render; the options above override "
            "its settings."),
         QStringLiteral("FILE")},
    });
}

// The picture's place, size, limit and engine from the options given;
// an error message, or nothing.
QString readPlaneOptions(const QCommandLineParser &parser, RenderRequest &r)
{
    const auto given = [&parser](const QString &option) { return parser.isSet(option); };
    bool ok = false;
    if (given(kSize) && !parseSize(parser.value(kSize), &r.width, &r.height))
        return tr("--size takes WIDTHxHEIGHT, for example 1920x1080");
    if (given(kCenter) && !parseExactPair(parser.value(kCenter), r))
        return tr("--center takes X,Y, for example -0.7436439,0.1318259");
    if (given(kWidth) && !parseDecimal(parser.value(kWidth), &r.widthText, &r.planeWidth))
        return tr("--width takes a number, for example 2.5e-1000");
    if (given(kEngine)) {
        const std::optional<Engine> engine = engineNamed(parser.value(kEngine).toStdString());
        if (!engine)
            return tr("--engine takes auto, exact or deep");
        r.engine = *engine;
    }
    if (given(kDwell) && (r.maxDwell = parser.value(kDwell).toInt(&ok), !ok))
        return tr("--dwell takes a whole number");
    if (given(kThreads) && (r.threads = parser.value(kThreads).toInt(&ok), !ok))
        return tr("--threads takes a whole number");
    if (given(kOrigin) && !parsePair(parser.value(kOrigin), &r.originX, &r.originY))
        return tr("--origin takes X,Y, for example 0.1,-0.2");
    if (given(kEscape) && (r.escapeRadius = parser.value(kEscape).toFloat(&ok), !ok))
        return tr("--escape takes a number");
    return {};
}

// The colouring from the options given; an error message, or nothing.
QString readColoringOptions(const QCommandLineParser &parser, Coloring &coloring)
{
    const auto given = [&parser](const QString &option) { return parser.isSet(option); };
    bool ok = false;
    if (given(kPalette))
        coloring.name = parser.value(kPalette).toStdString();
    QString why;
    if (!PaletteLibrary::find(QString::fromStdString(coloring.name), &coloring.palette, &why))
        return why;
    if (given(kDensity) && (coloring.density = parser.value(kDensity).toDouble(&ok),
                            !ok || !std::isfinite(coloring.density)))
        return tr("--density takes a number");
    if (given(kOffset) && (coloring.offset = parser.value(kOffset).toDouble(&ok),
                           !ok || !std::isfinite(coloring.offset)))
        return tr("--offset takes a number");
    return {};
}

// The picture's file from -o; an error message, or nothing.
QString readOutputPath(const QCommandLineParser &parser, QString &path)
{
    path = parser.value(kOutput);
    if (path.isEmpty())
        return tr("-o FILE is required");
    if (path == QLatin1String("-"))
        path = QStringLiteral("/dev/stdout");
    // Pictures are PNG: a name that says otherwise would be a surprise.
    static const QRegularExpression otherImage(
        QStringLiteral("\\.(jpe?g|gif|bmp|tiff?|webp|ppm|pgm|xpm|ico|avif|heic)$"),
        QRegularExpression::CaseInsensitiveOption);
    if (otherImage.match(path).hasMatch())
        return tr("%1: only PNG pictures are written; use a .png name").arg(path);
    return {};
}

} // namespace

std::optional<Command> commandNamed(const QString &word)
{
    if (word == QLatin1String("render"))
        return Command::Render;
    if (word == QLatin1String("zoom"))
        return Command::Zoom;
    if (word == QLatin1String("join"))
        return Command::Join;
    return std::nullopt;
}

void addRenderOptions(QCommandLineParser &parser, Command command)
{
    parser.setApplicationDescription(
        tr("Explore the Mandelbrot set. Without arguments, opens the window.\n"
           "dwell render [options] -o FILE renders one picture as PNG without it;\n"
           "dwell zoom [options] --to W -o FOLDER renders the frames of a zoom movie;\n"
           "dwell join -o FILE BAND... joins the bands of a poster made with --tile.\n"
           "dwell COMMAND --help lists a command's options."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), tr("render, zoom or join."));
    if (command == Command::Join) {
        parser.addPositionalArgument(QStringLiteral("bands"),
                                     tr("PNG bands made with render --tile, in any order."),
                                     QStringLiteral("BAND..."));
        parser.addOption({{QStringLiteral("o"), kOutput},
                          tr("PNG file to write; replaced only once it is complete."),
                          QStringLiteral("FILE")});
        return;
    }
    addPictureOptions(parser);
    if (command == Command::Zoom) {
        parser.addOption({{QStringLiteral("o"), kOutput},
                          tr("Folder for the frames, made if missing."),
                          QStringLiteral("FOLDER")});
        return;
    }
    parser.addOptions({
        {kTile,
         tr("Render only band I of N horizontal bands, counted from 0 at the top, to be put "
            "together with dwell join."),
         QStringLiteral("I/N")},
        {{QStringLiteral("o"), kOutput},
         tr("PNG file to write, or - for standard output. An existing file is replaced only "
            "once the new picture is complete, and keeps its permissions; a device or FIFO "
            "(such as /dev/stdout) is written directly."),
         QStringLiteral("FILE")},
    });
}

std::optional<RenderOptions> renderOptionsFrom(const QCommandLineParser &parser, Command command,
                                               QString *error)
{
    const auto fail = [error](const QString &message) {
        *error = message;
        return std::optional<RenderOptions>();
    };
    const QStringList words = parser.positionalArguments();
    if (words.size() > 1)
        return fail(tr("unexpected \"%1\" after \"%2\"").arg(words[1], words[0]));

    RenderOptions options;
    RenderRequest &r = options.request;
    // A location sets what the options do not.
    if (parser.isSet(kLocation)) {
        QString why;
        const std::optional<RenderRequest> location = readLocation(parser.value(kLocation), &why);
        if (!location)
            return fail(tr("cannot read the location %1: %2").arg(parser.value(kLocation), why));
        r = *location;
    }
    r.threads = QThread::idealThreadCount();
    if (const QString why = readPlaneOptions(parser, r); !why.isEmpty())
        return fail(why);
    if (const QString why = readColoringOptions(parser, r.coloring); !why.isEmpty())
        return fail(why);
    if (command == Command::Render && parser.isSet(kTile) &&
        !parseTile(parser.value(kTile), &options.tile))
        return fail(tr("--tile takes I/N, band I of N counted from 0, for example 0/4"));
    if (options.tile.count > r.height)
        return fail(tr("--tile: a picture %1 pixels high has at most %1 bands").arg(r.height));
    if (const std::string problem = r.problem(); !problem.empty())
        return fail(QString::fromStdString(problem));
    if (command == Command::Zoom)
        return options; // its frames go into a folder
    if (const QString why = readOutputPath(parser, options.outputPath); !why.isEmpty())
        return fail(why);
    return options;
}

bool wantsCommandLine(int argc, char **argv)
{
    // Qt's own options for the window, and those that take a value; anything
    // else is the command line's, to run or to refuse, never silently ignored.
    static const char *const windowOptions[] = {"-reverse", "-nograb", "-dograb", "-sync",
                                                "-widgetcount"};
    static const char *const windowOptionsWithValue[] = {"-platform",
                                                         "-platformpluginpath",
                                                         "-platformtheme",
                                                         "-plugin",
                                                         "-qwindowgeometry",
                                                         "-geometry",
                                                         "-qwindowtitle",
                                                         "-title",
                                                         "-qwindowicon",
                                                         "-icon",
                                                         "-display",
                                                         "-style",
                                                         "-stylesheet",
                                                         "-session",
                                                         "-name",
                                                         "-qmljsdebugger"};
    const auto among = [](const char *word, const auto &list) {
        return std::any_of(std::begin(list), std::end(list),
                           [word](const char *option) { return std::strcmp(word, option) == 0; });
    };
    std::vector<const char *> words;
    for (int i = 1; i < argc; ++i) {
        if (among(argv[i], windowOptionsWithValue))
            ++i;
        else if (!among(argv[i], windowOptions))
            words.push_back(argv[i]);
    }
    // `dwell FILE` opens the window at the file's location.
    if (words.size() == 1 && !commandNamed(QString::fromLocal8Bit(words[0])) &&
        words[0][0] != '-' && QFileInfo(QString::fromLocal8Bit(words[0])).isFile())
        return false;
    return !words.empty();
}

} // namespace dwell
