#pragma once

#include "RenderRequest.h"

#include <optional>
#include <string>
#include <string_view>

namespace dwell {

// A place in the plane and how to picture it, as a small TOML file: the
// centre and width as decimal text with every digit, the origin, dwell
// limit, escape bound, picture size and engine, under a format version.
namespace LocationFile {

inline constexpr int kVersion = 1;

std::string text(const RenderRequest &request);
// The request the text describes, over the defaults for what it leaves out;
// nothing, with error set to what is wrong, when it is no location of ours.
std::optional<RenderRequest> parse(std::string_view text, std::string *error);

} // namespace LocationFile

// True when the text is a decimal number: digits with an optional sign,
// point and exponent, nothing else.
bool isDecimalText(const std::string &text);

} // namespace dwell
