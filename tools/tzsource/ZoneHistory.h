// One zone of a compiled time zone database (a TZif file of a zoneinfo
// directory), read through abseil: its offset from UTC at any moment and its
// changes of offset, from the file's table and, beyond it, its footer rule.
#pragma once

#include <absl/time/time.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

namespace tzsource {

// A change of a zone's offset from UTC (offsets in seconds east of UTC).
struct OffsetChange {
    std::chrono::sys_seconds instant;
    std::chrono::seconds offsetBefore;
    std::chrono::seconds offsetAfter;

    friend bool operator==(const OffsetChange&, const OffsetChange&) = default;
};

class ZoneHistory {
public:
    // Nothing when `file` is not a regular file that abseil reads as a zone
    // (abseil would otherwise stand in UTC for it).
    static std::optional<ZoneHistory> Load(const std::filesystem::path& file);

    std::chrono::seconds OffsetAt(std::chrono::sys_seconds instant) const;

    // The changes with instants in [from, to), in order. Changes of the
    // abbreviation or of the daylight flag alone leave the offset as it was
    // and are left out.
    std::vector<OffsetChange> Changes(std::chrono::sys_seconds from,
                                      std::chrono::sys_seconds to) const;

private:
    explicit ZoneHistory(absl::TimeZone zone) : m_zone(zone) {}

    absl::TimeZone m_zone;
};

}  // namespace tzsource
