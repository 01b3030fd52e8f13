// The tokenizer of the two data files: comma-separated fields, optionally in
// double quotes, and decimal numbers read the way the C library reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/TransitionRule.h"

// A read position inside one line of a data file. A line may hold any byte,
// NUL included, so it is kept with its length.
struct FieldCursor {
    std::string_view line;
    std::size_t position = 0;

    bool AtEnd() const { return position >= line.size(); }
};

// The next field, a part of the cursor's line; advances the cursor past it
// and its comma. Fields past the end of the line are empty.
std::string_view NextField(FieldCursor& cursor);

// The same copied into `field`. Returns the field's length.
std::size_t NextField(FieldCursor& cursor, std::string& field);

// Reads one number as strtol does (white space, sign, digits, clamped to the
// signed 32-bit range, no digits give 0), then skips to just after the next
// comma, or to the end of the line.
std::int32_t ReadNumber(FieldCursor& cursor);

// Reads the seven numbers of a rule and narrows them to the rule's widths.
void ReadRule(FieldCursor& cursor, TransitionRule& rule);

// Splits a locations line into its zone name and place name, both parts of
// the line. Returns whether both are non-empty, i.e. whether the line binds
// a place.
bool ParseLocationLine(std::string_view line, std::string_view& zoneName,
                       std::string_view& placeName);
