// The POSIX TZ rule that ends a TZif file: two offsets and the yearly dates on
// which the zone enters and leaves daylight-saving time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tzsource/CivilDate.h"

namespace tzsource {

struct PosixDate {
    enum class Kind {
        MonthWeekDay,  // Mm.w.d: weekday d (0 = Sunday) of week w (5 = last) of month m
        JulianNoLeap,  // Jn: day n of 1..365, 29 February never counted
        ZeroBased,     // n: day n of 0..365, 29 February counted in leap years
    };
    Kind kind = Kind::MonthWeekDay;
    int month = 0;
    int week = 0;
    int weekday = 0;
    int dayNumber = 0;

    friend bool operator==(const PosixDate&, const PosixDate&) = default;
};

struct PosixTransition {
    PosixDate date;
    // Local time of day of the change, in the clock in force before it; may be
    // negative or beyond 24 hours (the previous or a later day).
    std::int32_t timeSeconds = 7200;

    friend bool operator==(const PosixTransition&, const PosixTransition&) = default;
};

struct PosixTz {
    std::string standardName;
    std::int32_t standardOffset = 0;  // seconds east of UTC
    std::optional<std::string> daylightName;
    std::int32_t daylightOffset = 0;  // seconds east of UTC, when daylightName is set
    PosixTransition start;            // daylight-saving time begins
    PosixTransition end;              // daylight-saving time ends

    bool HasDaylight() const { return daylightName.has_value(); }
};

// Parses a TZ rule such as "CET-1CEST,M3.5.0,M10.5.0/3". Returns nothing for
// text that is not a complete, well-formed rule (a daylight name without its
// two dates included).
std::optional<PosixTz> ParsePosixTz(std::string_view text);

// The calendar date on which `date` falls in `year`.
CivilDate DateInYear(const PosixDate& date, int year);

// One change of a zone's offset.
struct OffsetChange {
    std::int64_t instant = 0;  // seconds since 1970-01-01 00:00 UTC
    std::int32_t offsetBefore = 0;
    std::int32_t offsetAfter = 0;

    friend bool operator==(const OffsetChange&, const OffsetChange&) = default;
};

// The changes that the rule makes with instants in [from, to), in order.
// Changes that leave the offset as it was are left out.
std::vector<OffsetChange> RuleChanges(const PosixTz& tz, std::int64_t from, std::int64_t to);

// The offset in seconds east of UTC that the rule gives at `instant`.
std::int32_t RuleOffsetAt(const PosixTz& tz, std::int64_t instant);

}  // namespace tzsource
