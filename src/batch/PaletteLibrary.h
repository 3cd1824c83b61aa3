#pragma once

#include "Palette.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace dwell {

// The palettes Dwell ships and those the user keeps in their palette folder,
// by name: a file's base name, as in "viridis" for viridis.palette.
namespace PaletteLibrary {

inline const QString kDigits = QStringLiteral("digits");

QString userFolder();
// "digits" first, then the shipped names, then the user's, each once.
QStringList names();
// The palette for a name, or for the path of a palette file; "digits" is
// none (null). False, with error set, when there is no such palette or its
// file is not one.
bool find(const QString &nameOrPath, std::shared_ptr<const Palette> *palette, QString *error);

} // namespace PaletteLibrary

} // namespace dwell
