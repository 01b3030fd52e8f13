#include "timecalc/TimeValue.h"

#include <chrono>
#include <limits>

#include "platform/FrameworkError.h"
#include "timecalc/CalendarMath.h"

namespace {

// Splits seconds into calendar fields; the year must fit 16 bits.
SYSTEMTIME FieldsOfSeconds(std::int64_t seconds) {
    using namespace std::chrono;
    const sys_seconds moment{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(moment);
    const CivilDate date = DateOf(day);
    if (date.year < 0 || date.year > std::numeric_limits<std::uint16_t>::max()) {
        throw platform::FrameworkError(platform::ErrorStatus::InvalidArgument);
    }
    const hh_mm_ss timeOfDay(moment - day);
    SYSTEMTIME time;
    time.wYear = static_cast<std::uint16_t>(date.year);
    time.wMonth = static_cast<std::uint16_t>(unsigned(date.month));
    time.wDayOfWeek = static_cast<std::uint16_t>(date.weekday.c_encoding());
    time.wDay = static_cast<std::uint16_t>(unsigned(date.day));
    time.wHour = static_cast<std::uint16_t>(timeOfDay.hours().count());
    time.wMinute = static_cast<std::uint16_t>(timeOfDay.minutes().count());
    time.wSecond = static_cast<std::uint16_t>(timeOfDay.seconds().count());
    return time;
}

}  // namespace

SYSTEMTIME ToCalendarTime(TimeValue value) {
    SYSTEMTIME time = FieldsOfSeconds(value);
    time.wSecond = 0;
    return time;
}

TimeValue TimeValueFromFields(std::int64_t year, std::int64_t month, std::int64_t day,
                              std::int64_t hour, std::int64_t minute) {
    const bool inRange = year >= kFirstCalendarYear && year <= kLastCalendarYear && month >= 1 &&
                         month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour <= 23 &&
                         minute >= 0 && minute <= 59;
    if (!inRange) {
        throw platform::FrameworkError(platform::ErrorStatus::Fail);
    }
    return SecondsFromFields(year, static_cast<unsigned>(month), static_cast<unsigned>(day),
                             static_cast<int>(hour), static_cast<int>(minute));
}

TimeValue ToTimeValue(const SYSTEMTIME& time) {
    return TimeValueFromFields(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute);
}

SYSTEMTIME UniversalCalendarTime(std::int64_t secondsSinceEpoch) {
    return FieldsOfSeconds(secondsSinceEpoch);
}
