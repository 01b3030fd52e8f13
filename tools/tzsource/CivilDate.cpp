#include "tools/tzsource/CivilDate.h"

#include "timecalc/CalendarMath.h"

// The calendar itself is the engine's; this adds the tools' own record types.
namespace tzsource {

bool IsLeapYear(int year) {
    return ::IsLeapYear(year);
}

int DaysInMonth(int year, int month) {
    return ::DaysInMonth(month, year);
}

std::int64_t DaysFromCivil(const CivilDate& date) {
    return ::DaysFromCivil(date.year, date.month, date.day);
}

CivilDate CivilFromDays(std::int64_t days) {
    const ::CivilDate date = ::CivilFromDays(days);
    return CivilDate{static_cast<int>(date.year), date.month, date.day};
}

int WeekdayOf(const CivilDate& date) {
    return WeekdayFromDays(DaysFromCivil(date));
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
