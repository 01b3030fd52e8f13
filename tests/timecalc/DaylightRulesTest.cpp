#include "timecalc/DaylightRules.h"

#include <gtest/gtest.h>

#include "support/CalendarTimes.h"
#include "support/TestZones.h"

namespace {

TransitionRule Rule(int month, int day, int weekday, int week, int hour = 0, int minute = 0) {
    return NarrowRule({0, month, day, weekday, week, hour, minute});
}

TEST(RuleDayTest, FindsTheNamedWeekdayOfTheMonth) {
    struct Case {
        const char* name;
        TransitionRule rule;
        SYSTEMTIME time;  // any day of the month in question
        int expected;
    };
    const Case cases[] = {
        {"last_sunday_march_2026", Rule(3, 0, 1, 5), At(2026, 3, 15), 29},
        {"last_sunday_march_2025", Rule(3, 0, 1, 5), At(2025, 3, 1), 30},
        {"last_sunday_march_2024", Rule(3, 0, 1, 5), At(2024, 3, 31), 31},
        {"last_sunday_october_2026", Rule(10, 0, 1, 5), At(2026, 10, 7), 25},
        {"second_sunday_march_2026", Rule(3, 0, 1, 2), At(2026, 3, 20), 8},
        {"first_sunday_november_2026", Rule(11, 0, 1, 1), At(2026, 11, 30), 1},
        {"first_sunday_on_or_after_8th", Rule(3, 8, 1, 0), At(2026, 3, 2), 8},
        {"week_1_counts_like_week_0", Rule(3, 8, 1, 1), At(2026, 3, 2), 8},
        {"second_friday_from_the_10th", Rule(6, 10, 6, 2), At(2026, 6, 1), 19},
        {"fifth_monday_missing_gives_fourth", Rule(2, 0, 2, 5), At(2026, 2, 10), 23},
        {"fifth_sunday_of_leap_february", Rule(2, 0, 1, 5), At(2032, 2, 1), 29},
        {"fifth_sunday_of_common_february", Rule(2, 0, 1, 5), At(2026, 2, 1), 22},
        {"fixed_day", Rule(3, 21, 0, 0), At(2026, 3, 1), 21},
        {"fixed_day_zero", Rule(3, 0, 0, 0), At(2026, 3, 1), 0},
        {"weekday_without_day_or_week", Rule(3, 0, 1, 0), At(2026, 3, 1), 0},
        {"weekday_above_7_counts_as_saturday", Rule(3, 0, 9, 1), At(2026, 3, 1), 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RuleDay(c.rule, c.time), c.expected) << c.name;
    }
}

TEST(RuleDayTest, ADayOutsideTheMonthFallsBackToTheSearchStartOrTheLastDay) {
    SYSTEMTIME invalid = At(2026, 3, 1);
    invalid.wDay = 40;
    EXPECT_EQ(RuleDay(Rule(3, 0, 1, 5), invalid), 31);
    EXPECT_EQ(RuleDay(Rule(3, 9, 1, 2), invalid), 9);
}

struct StateCase {
    const char* name;
    SYSTEMTIME time;
    bool daylight;
};

void ExpectStates(const CTimeZone& zone, std::initializer_list<StateCase> cases) {
    for (const StateCase& c : cases) {
        EXPECT_EQ(IsDaylightTime(zone, c.time), c.daylight) << c.name;
    }
}

TEST(IsDaylightTimeTest, TransitionMomentsAreJudgedOnTheFields) {
    const auto berlin = BerlinZone();
    ExpectStates(*berlin, {
                              {"before_start", At(2026, 3, 29, 1, 59), false},
                              {"at_start", At(2026, 3, 29, 2, 0), true},
                              {"whole_month_between", At(2026, 7, 1), true},
                              {"before_end", At(2026, 10, 25, 2, 59), true},
                              {"at_end", At(2026, 10, 25, 3, 0), false},
                              {"day_before_start", At(2026, 3, 28, 23, 0), false},
                              {"day_after_end", At(2026, 10, 26, 0, 0), false},
                              {"january", At(2026, 1, 15), false},
                              {"december", At(2026, 12, 15), false},
                          });
}

TEST(IsDaylightTimeTest, SouthernPatternWrapsTheYear) {
    const auto sydney = SydneyZone();
    ExpectStates(*sydney, {
                              {"january", At(2026, 1, 10), true},
                              {"february", At(2026, 2, 10), true},
                              {"before_end", At(2026, 4, 5, 2, 59), true},
                              {"at_end", At(2026, 4, 5, 3, 0), false},
                              {"may", At(2026, 5, 10), false},
                              {"september", At(2026, 9, 30, 23, 59), false},
                              {"before_start", At(2026, 10, 4, 1, 59), false},
                              {"at_start", At(2026, 10, 4, 2, 0), true},
                              {"november", At(2026, 11, 10), true},
                              {"december", At(2026, 12, 31, 23, 59), true},
                          });
}

TEST(IsDaylightTimeTest, ZonesThatNeverObserveDaylightSavingTime) {
    const auto noBias = ZoneFromLine("Z,,,60,10,0,1,5,3,0,0,3,0,1,5,2,0");
    const auto noMonths = ZoneFromLine("Z,,,60,0,0,0,0,0,0,60,0,0,0,0,0,0");
    for (const SYSTEMTIME& time : {At(2026, 1, 1), At(2026, 3, 29, 12), At(2026, 7, 1),
                                   At(2026, 10, 25, 1), At(2026, 12, 31, 23, 59)}) {
        EXPECT_FALSE(IsDaylightTime(*noBias, time));
        EXPECT_FALSE(IsDaylightTime(*noMonths, time));
    }
}

TEST(IsDaylightTimeTest, StartAndEndInOneMonthRunToTheMonthsEnd) {
    // Start on the 5th, end on the 20th of June: the end rule is not consulted.
    const auto zone = ZoneFromLine("Z,,,0,6,20,0,0,0,0,60,6,5,0,0,0,0");
    ExpectStates(*zone, {
                            {"before_start", At(2026, 6, 4, 23, 59), false},
                            {"at_start", At(2026, 6, 5), true},
                            {"past_end_day", At(2026, 6, 25), true},
                            {"next_month", At(2026, 7, 1), false},
                        });
}

TEST(IsDaylightTimeTest, DayZeroMakesWholeMonths) {
    // Start month March and end month October, both rules naming day 0.
    const auto fixedZero = ZoneFromLine("Z,,,0,10,0,0,0,0,0,60,3,0,0,0,0,0");
    const auto weekdayZero = ZoneFromLine("Z,,,0,10,0,1,0,0,0,60,3,0,1,0,0,0");
    for (const CTimeZone* zone : {fixedZero.get(), weekdayZero.get()}) {
        ExpectStates(*zone, {
                                {"first_of_start_month", At(2026, 3, 1), true},
                                {"last_of_end_month", At(2026, 10, 31, 23, 59), false},
                                {"february", At(2026, 2, 28, 23, 59), false},
                            });
    }
}

TEST(IsDaylightTimeAtStandardClockTest, EachTransitionIsComparedWithTheClockBeforeIt) {
    const auto berlin = BerlinZone();
    // Standard clock of Berlin = UTC + 1. DST begins at 02:00 standard time
    // and ends at 03:00 daylight time, which is 02:00 standard time.
    const StateCase cases[] = {
        {"start_minus_one_minute", At(2026, 3, 29, 1, 59), false},
        {"start", At(2026, 3, 29, 2, 0), true},
        {"end_minus_one_minute", At(2026, 10, 25, 1, 59), true},
        {"end", At(2026, 10, 25, 2, 0), false},
        {"end_plus_half_hour", At(2026, 10, 25, 2, 30), false},
    };
    for (const StateCase& c : cases) {
        EXPECT_EQ(IsDaylightTimeAtStandardClock(*berlin, c.time), c.daylight) << c.name;
    }
}

TEST(IsDaylightTimeAtStandardClockTest, DaylightClockMayFallInTheNextMonth) {
    // Ends at 23:30 daylight time on the last day of June: 22:30 standard.
    const auto zone = ZoneFromLine("Z,,,0,6,30,0,0,23,30,60,3,1,0,0,0,0");
    EXPECT_TRUE(IsDaylightTimeAtStandardClock(*zone, At(2026, 6, 30, 22, 29)));
    EXPECT_FALSE(IsDaylightTimeAtStandardClock(*zone, At(2026, 6, 30, 22, 30)));
    EXPECT_FALSE(IsDaylightTimeAtStandardClock(*zone, At(2026, 6, 30, 23, 30)));
}

}  // namespace

namespace {

TEST(IsDaylightTimeAtStandardClockTest, TheYearsLastHourStaysInTheOldYear) {
    // 23:30 standard time on 31 December is 00:30 daylight time on 1 January:
    // still the old year's winter, not a month before the end rule.
    const auto newYork = NewYorkZone();
    EXPECT_FALSE(IsDaylightTimeAtStandardClock(*newYork, At(2025, 12, 31, 23, 30)));
    const auto sydney = SydneyZone();
    EXPECT_TRUE(IsDaylightTimeAtStandardClock(*sydney, At(2025, 12, 31, 23, 30)));
}

}  // namespace
