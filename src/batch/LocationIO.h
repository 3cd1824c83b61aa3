#pragma once

#include "RenderRequest.h"

#include <QString>

#include <optional>

namespace dwell {

// Reads a location from a location file, or from the text chunks of a PNG
// that Dwell saved (its size is the picture's); nothing, with error set to
// a sentence that says why, for anything else.
std::optional<RenderRequest> readLocation(const QString &path, QString *error);

// Writes the location file as OutputFile writes: an existing file is
// replaced only by a complete new one.
bool writeLocation(const QString &path, const RenderRequest &request, QString *error);

} // namespace dwell
