// The time values the window converts: wall-clock date and time held as
// seconds on the civil calendar, tied to no time zone. Nothing consults the
// machine's own zone, so a carried wall-clock time reads back exactly as it
// was carried, even where this machine's clock skips it.
#pragma once

#include <cstdint>

#include "timecalc/SystemTime.h"

// Seconds since 1970-01-01 00:00:00 of a wall clock (no zone attached).
using TimeValue = std::int64_t;

// The years a time value's calendar fields may hold.
inline constexpr int kFirstCalendarYear = 1900;
inline constexpr int kLastCalendarYear = 65535;

// The calendar fields of a time value; second and milliseconds are 0. Throws
// platform::FrameworkError(InvalidArgument) for a value whose year does not
// fit the record (outside 0-65535).
SYSTEMTIME ToCalendarTime(TimeValue value);

// The time value of calendar fields, second 0. Throws
// platform::FrameworkError(Fail) unless year is 1900 to 65535, month 1-12, day 1-31,
// hour 0-23 and minute 0-59; a day past its month's end counts on into the
// next month.
TimeValue ToTimeValue(const SYSTEMTIME& time);

// The same checks and conversion for fields not yet narrowed to the record.
TimeValue TimeValueFromFields(std::int64_t year, std::int64_t month, std::int64_t day,
                              std::int64_t hour, std::int64_t minute);

// The UTC calendar fields of a moment given in seconds since the epoch,
// seconds included. Throws platform::FrameworkError(InvalidArgument) when the
// year does not fit the record.
SYSTEMTIME UniversalCalendarTime(std::int64_t secondsSinceEpoch);
