#include "tools/UtcSeconds.h"
#include "tools/tzsource/PosixTz.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tzsource::CivilDate;
using tzsource::DateInYear;
using tzsource::ParsePosixTz;
using tzsource::PosixDate;

struct ParseCase {
    const char* text;
    std::int32_t standardOffset;
    std::int32_t daylightOffset;  // meaningful only with daylight time
    bool daylight;
    PosixDate start;
    std::int32_t startTime;
    PosixDate end;
    std::int32_t endTime;
};

constexpr PosixDate M(int month, int week, int weekday) {
    return {PosixDate::Kind::MonthWeekDay, month, week, weekday, 0};
}

TEST(PosixTzParse, ReadsEveryShapeOfRule) {
    const std::vector<ParseCase> cases = {
        {"JST-9", 9 * 3600, 0, false, {}, 7200, {}, 7200},
        {"<+0530>-5:30", 19800, 0, false, {}, 7200, {}, 7200},
        {"<-03>3", -3 * 3600, 0, false, {}, 7200, {}, 7200},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 3600, 7200, true, M(3, 5, 0), 7200, M(10, 5, 0), 10800},
        {"EST5EDT,M3.2.0,M11.1.0", -18000, -14400, true, M(3, 2, 0), 7200, M(11, 1, 0), 7200},
        {"NST3:30NDT,M3.2.0,M11.1.0", -12600, -9000, true, M(3, 2, 0), 7200, M(11, 1, 0), 7200},
        {"IST-1GMT0,M10.5.0,M3.5.0/1", 3600, 0, true, M(10, 5, 0), 7200, M(3, 5, 0), 3600},
        {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", -7200, -3600, true, M(3, 5, 0), -3600, M(10, 5, 0), 0},
        {"EET-2EEST,M3.4.4/50,M10.4.4/50", 7200, 10800, true, M(3, 4, 4), 180000, M(10, 4, 4),
         180000},
        {"<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45", 45900, 49500, true, M(9, 5, 0), 9900,
         M(4, 1, 0), 13500},
        {"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", 37800, 39600, true, M(10, 1, 0), 7200, M(4, 1, 0),
         7200},
        {"XXX3YYY,J60/1:30:15,300",
         -10800,
         -7200,
         true,
         {PosixDate::Kind::JulianNoLeap, 0, 0, 0, 60},
         5415,
         {PosixDate::Kind::ZeroBased, 0, 0, 0, 300},
         7200},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto tz = ParsePosixTz(c.text);
        ASSERT_TRUE(tz.has_value());
        EXPECT_EQ(tz->standardOffset, c.standardOffset);
        EXPECT_EQ(tz->HasDaylight(), c.daylight);
        if (c.daylight) {
            EXPECT_EQ(tz->daylightOffset, c.daylightOffset);
            EXPECT_EQ(tz->start.date, c.start);
            EXPECT_EQ(tz->start.timeSeconds, c.startTime);
            EXPECT_EQ(tz->end.date, c.end);
            EXPECT_EQ(tz->end.timeSeconds, c.endTime);
        }
    }
}

TEST(PosixTzParse, RejectsMalformedRules) {
    for (const char* text :
         {"", "CE", "CET", "CET-", "CET-1CE", "CET-1CEST", "CET-1CEST,M3.5.0",
          "CET-1CEST,M13.5.0,M10.5.0", "CET-1CEST,M3.6.0,M10.5.0", "CET-1CEST,M3.5.7,M10.5.0",
          "CET-1CEST,M3.5.0,M10.5.0/168", "CET-1CEST,J0,J365", "CET-1CEST,366,0", "<+01-1",
          "<+1>-1", "CET-25", "CET-1:60", "CET-1CEST,M3.5.0,M10.5.0x",
          "CET-1CEST,M3.5.0,M10.5.0/1234"}) {
        EXPECT_FALSE(ParsePosixTz(text).has_value()) << text;
    }
}

TEST(PosixTzDates, PlaceEachKindOfDateInTheYear) {
    struct Case {
        PosixDate date;
        int year;
        CivilDate expected;
    };
    const std::vector<Case> cases = {
        {M(3, 5, 0), 2026, {2026, 3, 29}},
        {M(3, 5, 0), 2025, {2025, 3, 30}},
        {M(3, 5, 0), 2024, {2024, 3, 31}},
        {M(10, 5, 0), 2026, {2026, 10, 25}},
        {M(3, 2, 0), 2026, {2026, 3, 8}},
        {M(11, 1, 0), 2026, {2026, 11, 1}},
        {M(2, 5, 4), 2024, {2024, 2, 29}},
        {M(2, 5, 4), 2026, {2026, 2, 26}},
        {M(10, 5, 4), 2026, {2026, 10, 29}},
        {M(9, 1, 6), 2026, {2026, 9, 5}},
        {{PosixDate::Kind::JulianNoLeap, 0, 0, 0, 60}, 2024, {2024, 3, 1}},
        {{PosixDate::Kind::JulianNoLeap, 0, 0, 0, 365}, 2024, {2024, 12, 31}},
        {{PosixDate::Kind::ZeroBased, 0, 0, 0, 59}, 2024, {2024, 2, 29}},
        {{PosixDate::Kind::ZeroBased, 0, 0, 0, 59}, 2026, {2026, 3, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateInYear(c.date, c.year), c.expected)
            << c.year << " " << c.date.month << "." << c.date.week << "." << c.date.weekday;
    }
}

TEST(PosixTzEvaluation, OffsetsChangeAtTheRulesInstants) {
    const auto berlin = ParsePosixTz("CET-1CEST,M3.5.0,M10.5.0/3");
    const auto sydney = ParsePosixTz("AEST-10AEDT,M10.1.0,M4.1.0/3");
    ASSERT_TRUE(berlin && sydney);
    // Berlin: 2026-03-29 01:00 UTC and 2026-10-25 01:00 UTC.
    EXPECT_EQ(RuleOffsetAt(*berlin, Utc(2026, 3, 29, 0, 59)), 3600);
    EXPECT_EQ(RuleOffsetAt(*berlin, Utc(2026, 3, 29, 1)), 7200);
    EXPECT_EQ(RuleOffsetAt(*berlin, Utc(2026, 10, 25, 0, 59)), 7200);
    EXPECT_EQ(RuleOffsetAt(*berlin, Utc(2026, 10, 25, 1)), 3600);
    // Sydney: daylight time across the new year.
    EXPECT_EQ(RuleOffsetAt(*sydney, Utc(2026, 1, 1, 0)), 39600);
    EXPECT_EQ(RuleOffsetAt(*sydney, Utc(2026, 4, 4, 15, 59)), 39600);
    EXPECT_EQ(RuleOffsetAt(*sydney, Utc(2026, 4, 4, 16)), 36000);
    EXPECT_EQ(RuleOffsetAt(*sydney, Utc(2026, 10, 3, 16)), 39600);

    const auto changes = RuleChanges(*berlin, Utc(2026, 1, 1, 0), Utc(2027, 1, 1, 0));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0], (tzsource::OffsetChange{Utc(2026, 3, 29, 1), 3600, 7200}));
    EXPECT_EQ(changes[1], (tzsource::OffsetChange{Utc(2026, 10, 25, 1), 7200, 3600}));
}

TEST(PosixTzEvaluation, DaylightTimeAllYearMakesNoChanges) {
    // Restarting daylight time the moment it ends keeps it in force all year.
    const auto allYear = ParsePosixTz("EST5EDT4,0/0,J365/25");
    ASSERT_TRUE(allYear);
    EXPECT_TRUE(RuleChanges(*allYear, Utc(2026, 1, 1, 0), Utc(2028, 1, 1, 0)).empty());
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(RuleOffsetAt(*allYear, Utc(2026, month, 1, 5)), -4 * 3600) << month;
    }
}

}  // namespace
