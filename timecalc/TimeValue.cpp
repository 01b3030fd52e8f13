#include "timecalc/TimeValue.h"

#include <limits>

#include "platform/FrameworkError.h"
#include "timecalc/CalendarMath.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

// Splits seconds into calendar fields; the year must fit 16 bits.
SYSTEMTIME FieldsOfSeconds(std::int64_t seconds) {
    // Far beyond any calendar year the record holds; keeps the day arithmetic
    // away from overflow.
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 4;
    if (seconds > kLimit || seconds < -kLimit) {
        throw platform::FrameworkError(platform::ErrorStatus::InvalidArgument);
    }
    const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const std::int64_t secondOfDay = seconds - days * kSecondsPerDay;
    const CivilDate date = CivilFromDays(days);
    if (date.year < 0 || date.year > std::numeric_limits<std::uint16_t>::max()) {
        throw platform::FrameworkError(platform::ErrorStatus::InvalidArgument);
    }
    SYSTEMTIME time;
    time.wYear = static_cast<std::uint16_t>(date.year);
    time.wMonth = static_cast<std::uint16_t>(date.month);
    time.wDayOfWeek = static_cast<std::uint16_t>(WeekdayFromDays(days));
    time.wDay = static_cast<std::uint16_t>(date.day);
    time.wHour = static_cast<std::uint16_t>(secondOfDay / 3600);
    time.wMinute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
    time.wSecond = static_cast<std::uint16_t>(secondOfDay % 60);
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
    const std::int64_t days = DaysFromCivil(year, static_cast<int>(month), static_cast<int>(day));
    return days * kSecondsPerDay + hour * 3600 + minute * 60;
}

TimeValue ToTimeValue(const SYSTEMTIME& time) {
    return TimeValueFromFields(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute);
}

SYSTEMTIME UniversalCalendarTime(std::int64_t secondsSinceEpoch) {
    return FieldsOfSeconds(secondsSinceEpoch);
}
