#include "tools/tzsource/CivilDate.h"

namespace tzsource {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    switch (month) {
        case 2: return IsLeapYear(year) ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11: return 30;
        default: return 31;
    }
}

// Howard Hinnant's days-from-civil: eras of 400 years keep it exact for any
// year without tables.
std::int64_t DaysFromCivil(const CivilDate& date) {
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t m = date.month;
    const std::int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = FloorDiv(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return CivilDate{static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

int WeekdayOf(const CivilDate& date) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(FloorMod(DaysFromCivil(date) + 4, 7));
}

std::int64_t SecondsFromCivil(const CivilTime& time) {
    return DaysFromCivil(time.date) * kSecondsPerDay + time.hour * 3600 + time.minute * 60 +
           time.second;
}

CivilTime CivilFromSeconds(std::int64_t seconds) {
    const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const std::int64_t rest = seconds - days * kSecondsPerDay;
    return CivilTime{CivilFromDays(days), static_cast<int>(rest / 3600),
                     static_cast<int>(rest % 3600 / 60), static_cast<int>(rest % 60)};
}

}  // namespace tzsource
