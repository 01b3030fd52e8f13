#include "timecalc/CalendarMath.h"

#include <gtest/gtest.h>

#include "support/CalendarTimes.h"

namespace {

TEST(CalendarMathTest, MonthLengthsFollowTheGregorianRule) {
    struct Case {
        int month;
        int year;
        int days;
    };
    const Case cases[] = {
        {2, 2024, 29}, {2, 2026, 28},  {2, 2000, 29}, {2, 2100, 28},  {2, 2200, 28},
        {2, 2400, 29}, {4, 2026, 30},  {6, 2026, 30}, {9, 2026, 30},  {11, 2026, 30},
        {1, 2026, 31}, {12, 2026, 31}, {0, 2026, 31}, {13, 2026, 31}, {255, 2026, 31},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DaysInMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
    }
}

TEST(CalendarMathTest, DayCountsAndWeekdaysAgreeWithKnownDates) {
    struct Case {
        int year;
        unsigned month;
        unsigned day;
        std::int64_t days;
        unsigned weekday;
    };
    const Case cases[] = {
        {1970, 1, 1, 0, 4},         {1969, 12, 31, -1, 3},        {1900, 1, 1, -25567, 1},
        {2000, 2, 29, 11016, 2},    {2026, 7, 1, 20635, 3},       {2026, 12, 31, 20818, 4},
        {2100, 3, 1, 47541, 1},     {1601, 1, 1, -134774, 1},     {0, 1, 1, -719528, 6},
        {32768, 1, 1, 11248738, 1}, {65535, 12, 31, 23217003, 2},
    };
    for (const Case& c : cases) {
        const std::chrono::sys_days day = DayOf(c.year, c.month, c.day);
        EXPECT_EQ(day.time_since_epoch().count(), c.days) << c.year << "-" << c.month;
        const CivilDate date = DateOf(day);
        EXPECT_EQ(date.year, c.year);
        EXPECT_EQ(unsigned(date.month), c.month);
        EXPECT_EQ(unsigned(date.day), c.day);
        EXPECT_EQ(date.weekday.c_encoding(), c.weekday) << c.year << "-" << c.month;
    }
}

TEST(CalendarMathTest, SubtractMinutesCarriesAcrossDayMonthAndYearEnds) {
    struct Case {
        const char* name;
        SYSTEMTIME from;
        int minutes;
        SYSTEMTIME to;
    };
    const Case cases[] = {
        {"forward_into_new_year", At(2026, 12, 31, 23, 30), -60, At(2027, 1, 1, 0, 30)},
        {"back_into_leap_day", At(2024, 3, 1, 0, 30), 60, At(2024, 2, 29, 23, 30)},
        {"back_into_february_28", At(2026, 3, 1, 0, 30), 60, At(2026, 2, 28, 23, 30)},
        {"back_into_old_year", At(2026, 1, 1, 0, 10), 20, At(2025, 12, 31, 23, 50)},
        {"no_leap_day_in_2100", At(2100, 2, 28, 23, 30), -60, At(2100, 3, 1, 0, 30)},
        {"leap_day_in_2000", At(2000, 2, 28, 23, 30), -60, At(2000, 2, 29, 0, 30)},
        {"forward_half_hour_carry", At(2026, 7, 1, 10, 45), -330, At(2026, 7, 1, 16, 15)},
        {"back_half_hour_borrow", At(2026, 7, 1, 10, 15), 330, At(2026, 7, 1, 4, 45)},
        {"back_into_30_day_month", At(2026, 5, 1, 1, 0), 120, At(2026, 4, 30, 23, 0)},
        {"zero_moves_nothing", At(2026, 7, 1, 10, 15), 0, At(2026, 7, 1, 10, 15)},
        {"saturday_to_sunday", At(2026, 7, 4, 23, 0), -120, At(2026, 7, 5, 1, 0)},
        {"sunday_to_saturday", At(2026, 7, 5, 0, 0), 1, At(2026, 7, 4, 23, 59)},
    };
    for (const Case& c : cases) {
        SYSTEMTIME time = c.from;
        SubtractMinutes(time, c.minutes);
        EXPECT_EQ(time, c.to) << c.name;
    }
}

TEST(CalendarMathTest, SecondsAndMillisecondsPassThrough) {
    SYSTEMTIME time = At(2026, 7, 1, 23, 59);
    time.wSecond = 42;
    time.wMilliseconds = 999;
    SubtractMinutes(time, -1);
    EXPECT_EQ(time.wSecond, 42);
    EXPECT_EQ(time.wMilliseconds, 999);
    EXPECT_EQ(time.wDay, 2);
}

TEST(CalendarMathTest, AnOffsetOfADayOrMoreLeavesTheHourOutOfRange) {
    // Only one day is carried: 23:00 plus 33 hours 20 minutes stops at hour 32.
    SYSTEMTIME time = At(2026, 7, 1, 23, 0);
    SubtractMinutes(time, -2000);
    EXPECT_EQ(time.wHour, 32);
    EXPECT_EQ(time.wDay, 2);
    time = At(2026, 7, 1, 0, 0);
    SubtractMinutes(time, 2000);
    EXPECT_GT(time.wHour, 23);
}

TEST(CalendarMathTest, TheYearNeverWrapsAtTheEndsOfTheRecord) {
    SYSTEMTIME time = At(65535, 12, 31, 23, 30);
    SubtractMinutes(time, -60);  // 24:30 of the last day
    EXPECT_EQ(time.wYear, 65535);
    EXPECT_EQ(time.wDay, 31);
    EXPECT_EQ(time.wHour, 24);
    SubtractMinutes(time, 120);  // and back into the day
    EXPECT_EQ(time, At(65535, 12, 31, 22, 30));

    time = At(0, 1, 1, 0, 30);
    SubtractMinutes(time, 60);
    EXPECT_EQ(time.wYear, 0);
    EXPECT_EQ(time.wMonth, 1);
    EXPECT_EQ(time.wDay, 1);
}

}  // namespace
