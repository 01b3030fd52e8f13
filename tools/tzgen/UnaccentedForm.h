// Whether a plain-ASCII spelling is a name with its marks left off ("Zurich"
// for "Zürich"), the way people type it without the keys for them.
#pragma once

#include <string_view>

namespace tzgen {

// True when `plain` is pure ASCII, differs from `name`, and is `name` with each
// character outside ASCII written as one ASCII character: "Krakow" for
// "Kraków", "Xi'an" for "Xi’an", but not "Muenchen" for "München", which
// spells the letter out instead of leaving the mark off.
bool IsUnaccentedForm(std::string_view name, std::string_view plain);

// Whether the text is pure ASCII.
bool IsAscii(std::string_view text);

}  // namespace tzgen
