#include "catalogue/FieldReader.h"

#include <limits>

namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';

// Moves past the field's end: `end` is the index of its delimiter or npos.
std::string_view TakeUntil(FieldCursor& cursor, std::size_t end) {
    const std::size_t start = cursor.position;
    if (end == std::string_view::npos) {
        cursor.position = cursor.line.size();
        return cursor.line.substr(start);
    }
    cursor.position = end + 1;
    return cursor.line.substr(start, end - start);
}

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void SkipPastNextComma(FieldCursor& cursor) {
    const std::size_t comma = cursor.line.find(kComma, cursor.position);
    cursor.position = comma == std::string_view::npos ? cursor.line.size() : comma + 1;
}

}  // namespace

std::string_view NextField(FieldCursor& cursor) {
    const bool quoted = !cursor.AtEnd() && cursor.line[cursor.position] == kQuote;
    if (quoted) {
        ++cursor.position;
    }
    if (cursor.AtEnd()) {
        cursor.position = cursor.line.size();
        return {};
    }
    if (!quoted) {
        return TakeUntil(cursor, cursor.line.find(kComma, cursor.position));
    }
    const std::string_view field = TakeUntil(cursor, cursor.line.find(kQuote, cursor.position));
    // After the closing quote only a comma is consumed; anything else starts
    // the next field.
    if (!cursor.AtEnd() && cursor.line[cursor.position] == kComma) {
        ++cursor.position;
    }
    return field;
}

std::size_t NextField(FieldCursor& cursor, std::string& field) {
    field.assign(NextField(cursor));
    return field.size();
}

std::int32_t ReadNumber(FieldCursor& cursor) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();

    const std::string_view line = cursor.line;
    std::size_t at = cursor.position;
    while (at < line.size() && IsCSpace(line[at])) {
        ++at;
    }
    bool negative = false;
    if (at < line.size() && (line[at] == '+' || line[at] == '-')) {
        negative = line[at] == '-';
        ++at;
    }
    std::int64_t magnitude = 0;
    bool anyDigit = false;
    for (; at < line.size() && IsDigit(line[at]); ++at) {
        anyDigit = true;
        if (magnitude <= kMax + 1) {  // saturate; further digits cannot bring it back
            magnitude = magnitude * 10 + (line[at] - '0');
        }
    }
    // Without digits strtol leaves its end pointer at the start, so the skip to
    // the next comma starts there too.
    cursor.position = anyDigit ? at : cursor.position;
    SkipPastNextComma(cursor);
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(value > kMax ? kMax : (value < kMin ? kMin : value));
}

void ReadRule(FieldCursor& cursor, TransitionRule& rule) {
    RuleNumbers numbers{};
    for (std::int32_t& number : numbers) {
        number = ReadNumber(cursor);
    }
    rule = NarrowRule(numbers);
}

bool ParseLocationLine(std::string_view line, std::string_view& zoneName,
                       std::string_view& placeName) {
    FieldCursor cursor{line};
    zoneName = NextField(cursor);
    placeName = NextField(cursor);
    return !zoneName.empty() && !placeName.empty();
}
