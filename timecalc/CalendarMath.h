// Gregorian calendar arithmetic: month lengths, days since 1970, weekdays and
// the minute carry that moves a calendar time across day, month and year ends.
#pragma once

#include <cstdint>

#include "timecalc/SystemTime.h"

// Gregorian rule: every fourth year is a leap year, except centuries not
// divisible by 400 (2000 is one, 2100 is not).
bool IsLeapYear(int year);

// Days of `month` in `year`, 28 to 31; any month value outside 1-12 has 31.
int DaysInMonth(int month, int year);

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
// A day beyond its month's end simply counts on into the next month.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};
CivilDate CivilFromDays(std::int64_t days);

// 0 = Sunday ... 6 = Saturday for a day count since 1970-01-01.
int WeekdayFromDays(std::int64_t days);

// Moves `time` back by `minutes`, or forward by the magnitude of a negative
// count, carrying at most one day; the day of week moves with the date.
// Callers pass zone offsets, whose magnitudes stay below one day; a larger one
// leaves the hour out of range for the range checks downstream to reject.
// The year never wraps: past 31 December 65535 the hour runs on beyond 23, and
// before 1 January of year 0 the date stays, both rejected by those checks.
void SubtractMinutes(SYSTEMTIME& time, int minutes);
