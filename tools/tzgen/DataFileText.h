// The text of the two data files as the program's reader takes it back: comma
// separated fields, a field in double quotes only when it holds a comma.
#pragma once

#include <string>
#include <string_view>

#include "tools/tzgen/ZoneRuleEncoder.h"

namespace tzgen {

// Makes a name or text safe for a field: the reader has no escape for a double
// quote and ends the file at Ctrl-Z, and a line break would split the line, so
// double quotes become apostrophes, control characters become blanks, and
// blanks at either end are dropped.
std::string CleanFieldText(std::string_view text);

// The field as written: in double quotes when it holds a comma, as it is
// otherwise. `text` must be clean (see CleanFieldText).
std::string QuoteField(std::string_view text);

// One line of the zone file, without its line feed.
std::string ZoneLine(std::string_view name, std::string_view label, std::string_view remark,
                     const EncodedZone& zone);

// One line of the locations file, without its line feed.
std::string LocationLine(std::string_view zoneName, std::string_view placeName);

}  // namespace tzgen
