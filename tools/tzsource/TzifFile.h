// A compiled zone of the IANA database (a TZif file of version 1 to 4): its
// table of offset changes and the POSIX rule that continues it.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tzsource/PosixTz.h"

namespace tzsource {

class TzifError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TzifLocalType {
    std::int32_t utcOffset = 0;  // seconds east of UTC
    bool isDaylight = false;
    std::string abbreviation;
};

struct TzifData {
    char version = '\0';  // '\0', '2', '3' or '4'
    std::vector<std::int64_t> transitionTimes;
    std::vector<std::uint8_t> transitionTypes;  // index into localTypes, one per time
    std::vector<TzifLocalType> localTypes;
    std::string footer;  // the POSIX rule, empty when the file has none
};

// Parses the bytes of a TZif file. For version 2 and later the 64-bit block
// and the footer are used. Throws TzifError for anything malformed or cut short.
TzifData ParseTzif(std::string_view bytes);

// Reads and parses a file; throws TzifError when it cannot be read.
TzifData ReadTzifFile(const std::string& path);

// A zone's offset at any instant: the table, then the footer rule.
class ZoneHistory {
public:
    explicit ZoneHistory(TzifData data);

    const TzifData& Data() const { return m_data; }
    // The footer rule, when the file has a well-formed one.
    const std::optional<PosixTz>& Footer() const { return m_footer; }

    std::int32_t OffsetAt(std::int64_t instant) const;

    // The changes with instants in [from, to), in order; changes that keep the
    // offset as it was are left out.
    std::vector<OffsetChange> Changes(std::int64_t from, std::int64_t to) const;

    // The instant of the table's last change; before it the table is the truth.
    std::optional<std::int64_t> TableEnd() const;

private:
    TzifData m_data;
    std::optional<PosixTz> m_footer;
};

}  // namespace tzsource
