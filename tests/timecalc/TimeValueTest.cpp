#include "timecalc/TimeValue.h"

#include <gtest/gtest.h>

#include <ctime>

#include "platform/FrameworkError.h"
#include "support/CalendarTimes.h"
#include "support/FixedClock.h"
#include "support/IanaTime.h"
#include "timecalc/WallClock.h"

namespace {

using platform::ErrorStatus;
using platform::FrameworkError;

ErrorStatus StatusOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FrameworkError& error) {
        return error.Status();
    }
    ADD_FAILURE() << "no error raised";
    return ErrorStatus::Fail;
}

TEST(TimeValueTest, CalendarFieldsRoundTripWhateverTheMachinesZone) {
    // 02:30 on 29 March 2026 does not exist in Berlin; the value is no moment
    // of this machine's clock but the wall-clock time itself.
    const ScopedTimeZone berlin("Europe/Berlin");
    for (const SYSTEMTIME& time :
         {At(2026, 3, 29, 2, 30), At(2026, 10, 25, 2, 30), At(1900, 1, 1, 0, 0),
          At(2100, 2, 28, 23, 59), At(2026, 12, 31, 23, 59), At(65535, 12, 31, 23, 59)}) {
        EXPECT_EQ(ToCalendarTime(ToTimeValue(time)), time) << time.wYear << "-" << time.wMonth;
    }
}

TEST(TimeValueTest, FieldsOutOfRangeRaiseFail) {
    struct Case {
        const char* name;
        std::int64_t year, month, day, hour, minute;
    };
    const Case cases[] = {
        {"year_1899", 1899, 12, 31, 23, 59},   {"month_0", 2026, 0, 1, 0, 0},
        {"month_13", 2026, 13, 1, 0, 0},       {"day_0", 2026, 1, 0, 0, 0},
        {"day_32", 2026, 1, 32, 0, 0},         {"hour_24", 2026, 1, 1, 24, 0},
        {"minute_60", 2026, 1, 1, 0, 60},      {"negative_hour", 2026, 1, 1, -1, 0},
        {"year_too_large", 65536, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StatusOf([&] { TimeValueFromFields(c.year, c.month, c.day, c.hour, c.minute); }),
                  ErrorStatus::Fail)
            << c.name;
    }
}

TEST(TimeValueTest, ADayPastTheMonthsEndCountsOn) {
    EXPECT_EQ(ToCalendarTime(TimeValueFromFields(2026, 4, 31, 10, 0)), At(2026, 5, 1, 10, 0));
    EXPECT_EQ(ToCalendarTime(TimeValueFromFields(2100, 2, 29, 0, 0)), At(2100, 3, 1, 0, 0));
}

TEST(TimeValueTest, ValuesBeyondTheRecordRaiseInvalidArgument) {
    const TimeValue year65536 = TimeValueFromFields(65535, 12, 31, 23, 59) + 86'400;
    EXPECT_EQ(StatusOf([&] { ToCalendarTime(year65536); }), ErrorStatus::InvalidArgument);
    EXPECT_EQ(StatusOf([] { ToCalendarTime(-62'200'000'000); }), ErrorStatus::InvalidArgument);
    EXPECT_EQ(StatusOf([] { UniversalCalendarTime(INT64_MAX); }), ErrorStatus::InvalidArgument);
}

TEST(TimeValueTest, SecondsAreDroppedFromTheCalendarFields) {
    const TimeValue value = TimeValueFromFields(2026, 3, 5, 15, 47) + 30;
    EXPECT_EQ(ToCalendarTime(value), At(2026, 3, 5, 15, 47));
    EXPECT_EQ(UniversalCalendarTime(value).wSecond, 30);
}

TEST(WallClockTest, ClockReadingsOfEveryYearGiveThatYearsUtcFields) {
    // The nanoseconds of std::chrono::system_clock reach from 1677-09-21 to
    // 2262-04-11 only; a reading of the real-time clock reaches every year.
    struct Case {
        const char* name;
        std::int64_t seconds;
        SYSTEMTIME utc;
    };
    const auto second = [](SYSTEMTIME time, int seconds) {
        time.wSecond = static_cast<std::uint16_t>(seconds);
        return time;
    };
    const Case cases[] = {
        {"a_second_before_1970", -1, second(At(1969, 12, 31, 23, 59), 59)},
        {"1500", -14'817'470'400, At(1500, 6, 15, 12, 0)},
        {"before_the_nanoseconds", -9'223'372'800, At(1677, 9, 21, 0, 0)},
        {"after_the_nanoseconds", 9'223'372'800, At(2262, 4, 12, 0, 0)},
        {"5000", 95'631'883'200, At(5000, 6, 15, 12, 0)},
        {"9999", 253'402'297'199, second(At(9999, 12, 31, 22, 59), 59)},
    };
    for (const Case& c : cases) {
        const std::timespec reading{static_cast<std::time_t>(c.seconds), 999'999'999};
        const FixedClock clock(platform::SecondsSinceEpoch(platform::MomentOf(reading)));
        EXPECT_EQ(CurrentUniversalTime(clock), c.utc) << c.name;
    }
}

}  // namespace
