#include "timecalc/CalendarMath.h"

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
    switch (month) {
        case 2: return IsLeapYear(year) ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11: return 30;
        default: return 31;
    }
}

// Howard Hinnant's days_from_civil: eras of 400 years, March-based years so
// the leap day falls at the end.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return CivilDate{yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

int WeekdayFromDays(std::int64_t days) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(days >= -4 ? (days + 4) % 7 : (days + 5) % 7 + 6);
}

namespace {

// The record holds the years 0 to 65535; a day step never goes past either
// end, so the year cannot wrap around.
constexpr std::uint16_t kLastYear = 65535;

bool IsLastDay(const SYSTEMTIME& time) {
    return time.wYear == kLastYear && time.wMonth == 12 && time.wDay >= 31;
}

bool IsFirstDay(const SYSTEMTIME& time) {
    return time.wYear == 0 && time.wMonth == 1 && time.wDay <= 1;
}

// Returns false, changing nothing, on the last day the record holds.
bool NextDay(SYSTEMTIME& time) {
    if (IsLastDay(time)) {
        return false;
    }
    time.wDayOfWeek = static_cast<std::uint16_t>(time.wDayOfWeek >= 6 ? 0 : time.wDayOfWeek + 1);
    ++time.wDay;
    if (time.wDay > DaysInMonth(time.wMonth, time.wYear)) {
        time.wDay = 1;
        ++time.wMonth;
        if (time.wMonth > 12) {
            time.wMonth = 1;
            ++time.wYear;
        }
    }
    return true;
}

// Returns false, changing nothing, on the first day the record holds.
bool PreviousDay(SYSTEMTIME& time) {
    if (IsFirstDay(time)) {
        return false;
    }
    time.wDayOfWeek = static_cast<std::uint16_t>(time.wDayOfWeek == 0 ? 6 : time.wDayOfWeek - 1);
    --time.wDay;
    if (time.wDay == 0) {
        if (time.wMonth == 1) {
            time.wMonth = 12;
            time.wDay = 31;
            --time.wYear;
        } else {
            --time.wMonth;
            time.wDay = static_cast<std::uint16_t>(DaysInMonth(time.wMonth, time.wYear));
        }
    }
    return true;
}

}  // namespace

void SubtractMinutes(SYSTEMTIME& time, int minutes) {
    if (minutes == 0) {
        return;
    }
    int hour = time.wHour;
    int minute = time.wMinute;
    if (minutes < 0) {
        const int forward = -minutes;
        hour += forward / 60;
        minute += forward % 60;
        if (minute > 59) {
            minute -= 60;
            ++hour;
        }
        // Past the last day the hour runs on beyond 23: still the right
        // moment, which a later step back can bring into range again and
        // which the range checks reject otherwise.
        if (hour > 23 && NextDay(time)) {
            hour -= 24;
        }
    } else {
        minute -= minutes % 60;
        hour -= minutes / 60;
        if (minute < 0) {
            minute += 60;
            --hour;
        }
        // Before the first day the date stays: a year-0 time, which the
        // range checks reject anyway, rather than one of year 65535.
        if (hour < 0) {
            hour += 24;
            PreviousDay(time);
        }
    }
    // An hour still outside 0-23 (an offset of a day or more) wraps here and
    // is rejected by the range checks of the time-value conversion.
    time.wHour = static_cast<std::uint16_t>(hour);
    time.wMinute = static_cast<std::uint16_t>(minute);
}
