#include "LocationFile.h"

#include <toml++/toml.h>

#include <cmath>
#include <regex>
#include <sstream>

namespace dwell {

bool isDecimalText(const std::string &text)
{
    static const std::regex number("[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?");
    return std::regex_match(text, number);
}

namespace {

// The pair's two elements as T, or nothing.
template <class T>
std::optional<std::pair<T, T>> pairOf(const toml::node_view<const toml::node> &node)
{
    const toml::array *array = node.as_array();
    if (!array || array->size() != 2)
        return std::nullopt;
    const std::optional<T> first = (*array)[0].value<T>();
    const std::optional<T> second = (*array)[1].value<T>();
    if (!first || !second)
        return std::nullopt;
    return std::pair{*first, *second};
}

std::string readInto(const toml::table &table, RenderRequest &r)
{
    if (table["version"].value<int>().value_or(0) != LocationFile::kVersion)
        return "it is not a version " + std::to_string(LocationFile::kVersion) + " location";
    if (table.contains("center")) {
        const auto center = pairOf<std::string>(table["center"]);
        if (!center || !isDecimalText(center->first) || !isDecimalText(center->second))
            return "center must be two decimal numbers in quotes";
        r.centerXText = center->first;
        r.centerYText = center->second;
        r.centerX = std::strtod(r.centerXText.c_str(), nullptr);
        r.centerY = std::strtod(r.centerYText.c_str(), nullptr);
    }
    if (table.contains("width")) {
        const std::optional<std::string> width = table["width"].value<std::string>();
        if (!width || !isDecimalText(*width))
            return "width must be a decimal number in quotes";
        r.widthText = *width;
        r.planeWidth = std::strtod(width->c_str(), nullptr);
    }
    if (table.contains("origin")) {
        const auto origin = pairOf<double>(table["origin"]);
        if (!origin)
            return "origin must be two numbers";
        std::tie(r.originX, r.originY) = *origin;
    }
    if (table.contains("size")) {
        const auto size = pairOf<int>(table["size"]);
        if (!size)
            return "size must be two whole numbers";
        std::tie(r.width, r.height) = *size;
    }
    r.maxDwell = table["dwell"].value<int>().value_or(r.maxDwell);
    r.escapeRadius = float(table["escape"].value<double>().value_or(r.escapeRadius));
    r.coloring.name = table["palette"].value<std::string>().value_or(r.coloring.name);
    r.coloring.density = table["density"].value<double>().value_or(r.coloring.density);
    r.coloring.offset = table["offset"].value<double>().value_or(r.coloring.offset);
    if (!std::isfinite(r.coloring.density) || !std::isfinite(r.coloring.offset))
        return "density and offset must be numbers";
    const std::optional<Engine> engine =
        engineNamed(table["engine"].value<std::string>().value_or(engineName(r.engine)));
    if (!engine)
        return "engine must be auto, exact or deep";
    r.engine = *engine;
    return r.problem();
}

} // namespace

namespace LocationFile {

std::string text(const RenderRequest &r)
{
    const toml::table table{
        {"version", kVersion},
        {"center", toml::array{r.exactCenterX(), r.exactCenterY()}},
        {"width", r.exactWidth()},
        {"origin", toml::array{r.originX, r.originY}},
        {"dwell", r.maxDwell},
        {"escape", double(r.escapeRadius)},
        {"size", toml::array{r.width, r.height}},
        {"engine", engineName(r.engine)},
        {"palette", r.coloring.name},
        {"density", r.coloring.density},
        {"offset", r.coloring.offset},
    };
    std::ostringstream out;
    out << "# A place in the Mandelbrot set, for Dwell: `dwell FILE` opens it.\n" << table << "\n";
    return out.str();
}

std::optional<RenderRequest> parse(std::string_view text, std::string *error)
{
    toml::table table;
    try {
        table = toml::parse(text);
    } catch (const toml::parse_error &failure) {
        *error = "line " + std::to_string(failure.source().begin.line) + ": " +
                 std::string(failure.description());
        return std::nullopt;
    }
    RenderRequest request;
    if (std::string problem = readInto(table, request); !problem.empty()) {
        *error = std::move(problem);
        return std::nullopt;
    }
    return request;
}

} // namespace LocationFile

} // namespace dwell
