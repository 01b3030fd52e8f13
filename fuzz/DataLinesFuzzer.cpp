// Feeds arbitrary bytes to the zone-line and location-line parsers and checks
// the properties every input must keep.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "catalogue/FieldReader.h"
#include "catalogue/TimeZone.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// ReadNumber against the C library's own conversion, which it stands in for:
// the same value (clamped to 32 bits) and the same place after the number.
// strtol stops at a NUL byte, so only lines without one are compared.
void CheckNumbersAgainstStrtol(std::string_view line) {
    if (line.find('\0') != std::string_view::npos) {
        return;
    }
    const std::string terminated(line);
    FieldCursor cursor{line};
    for (int number = 0; number < 14 && !cursor.AtEnd(); ++number) {
        const char* start = terminated.c_str() + cursor.position;
        char* end = nullptr;
        long expected = std::strtol(start, &end, 10);
        expected = expected > INT32_MAX ? INT32_MAX : (expected < INT32_MIN ? INT32_MIN : expected);
        std::size_t after = static_cast<std::size_t>(end - terminated.c_str());
        const std::size_t comma = line.find(',', after);
        after = comma == std::string_view::npos ? line.size() : comma + 1;

        Check(ReadNumber(cursor) == expected);
        Check(cursor.position == after);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const CTimeZone zone(line);
    Check(zone.m_strName.size() + zone.m_strLabel.size() + zone.m_strRemark.size() <= size);

    std::string_view zoneName;
    std::string_view placeName;
    const bool binds = ParseLocationLine(line, zoneName, placeName);
    Check(binds == (!zoneName.empty() && !placeName.empty()));
    Check(zoneName.size() + placeName.size() <= size);

    // Every field the tokenizer hands out is a piece of the line, and the
    // cursor only moves forward until it rests at the end.
    FieldCursor cursor{line};
    std::string field;
    for (std::size_t steps = 0; steps <= size + 1; ++steps) {
        const std::size_t before = cursor.position;
        NextField(cursor, field);
        Check(cursor.position <= size);
        Check(field.size() <= size - (before < size ? before : size));
        Check(line.find(field) != std::string_view::npos);
        if (cursor.AtEnd()) {
            break;
        }
        Check(cursor.position > before);
    }
    Check(cursor.AtEnd());

    CheckNumbersAgainstStrtol(line);
    return 0;
}
