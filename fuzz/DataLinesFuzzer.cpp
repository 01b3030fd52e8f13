// Feeds arbitrary bytes to the zone-line and location-line parsers and checks
// the properties every input must keep.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const CTimeZone zone(line);
    Check(zone.m_strName.size() + zone.m_strLabel.size() + zone.m_strRemark.size() <= size);

    std::string zoneName;
    std::string placeName;
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
    return 0;
}
