#include "timecalc/ResultTexts.h"

#include <gtest/gtest.h>

#include "platform/FrameworkError.h"
#include "support/CalendarTimes.h"
#include "support/TestZones.h"

namespace {

TimeValue Entered(int year, int month, int day, int hour, int minute) {
    return ToTimeValue(At(year, month, day, hour, minute));
}

TEST(FormatMinutesTest, HoursAndMinutesWithoutLeadingZeros) {
    const std::pair<int, const char*> cases[] = {
        {0, "0"},     {60, "1"},       {330, "5:30"},      {345, "5:45"},
        {65, "1:5"},  {-210, "-3:30"}, {-30, "-0:30"},     {-360, "-6"},
        {-1, "-0:1"}, {1440, "24"},    {-32768, "-546:8"},
    };
    for (const auto& [minutes, text] : cases) {
        EXPECT_EQ(FormatMinutes(minutes), text) << minutes;
    }
}

TEST(ComposeResultTest, WorkedExampleFromBerlinToNewYork) {
    const auto berlin = BerlinZone();
    const auto newYork = NewYorkZone();
    const ResultTexts texts =
        ComposeResult(berlin.get(), newYork.get(), Entered(2026, 7, 1, 14, 5), At(2026, 7, 1, 12));
    EXPECT_EQ(texts.result, "08:05\n\n07.01.2026, Wednesday \n\nTime difference : -6");
    EXPECT_EQ(texts.baseLabel, "Base location: GMT+1   DST:1");
    EXPECT_EQ(texts.remoteLabel, "Remote location: GMT-5   DST:1");
    EXPECT_EQ(texts.remoteTime, Entered(2026, 7, 1, 8, 5));
}

TEST(ComposeResultTest, AbsentZonesLeaveTheirLabelsAndTheDifferenceOut) {
    const auto newYork = NewYorkZone();
    const ResultTexts neither =
        ComposeResult(nullptr, nullptr, Entered(2026, 7, 1, 14, 5), At(2026, 7, 1, 12));
    EXPECT_EQ(neither.result, "14:05\n\n07.01.2026, Wednesday \n\nTime difference : ");
    EXPECT_FALSE(neither.baseLabel);
    EXPECT_FALSE(neither.remoteLabel);

    const ResultTexts baseUtc =
        ComposeResult(nullptr, newYork.get(), Entered(2026, 7, 1, 12, 0), At(2026, 7, 1, 12));
    EXPECT_EQ(baseUtc.result, "08:00\n\n07.01.2026, Wednesday \n\nTime difference : ");
    EXPECT_FALSE(baseUtc.baseLabel);
    EXPECT_EQ(baseUtc.remoteLabel, "Remote location: GMT-5   DST:1");
}

TEST(ComposeResultTest, OneZoneRecordOnBothSides) {
    const auto berlin = BerlinZone();
    const ResultTexts texts =
        ComposeResult(berlin.get(), berlin.get(), Entered(2026, 1, 10, 9, 30), At(2026, 7, 1, 12));
    EXPECT_EQ(texts.result, "09:30\n\n01.10.2026, Saturday \n\nTime difference : 0");
    EXPECT_EQ(texts.baseLabel, "Base location: GMT+1");
    EXPECT_EQ(texts.remoteLabel, "Remote location: GMT+1");
}

TEST(ComposeResultTest, LabelsShowOffsetsWithTheirSigns) {
    struct Case {
        int standard;
        const char* label;
    };
    const Case cases[] = {{330, "Base location: GMT+5:30"},
                          {-210, "Base location: GMT-3:30"},
                          {-30, "Base location: GMT-0:30"},
                          {0, "Base location: GMT+0"}};
    for (const Case& c : cases) {
        const auto zone = FixedZone(c.standard);
        const ResultTexts texts =
            ComposeResult(zone.get(), nullptr, Entered(2026, 7, 1, 12, 0), At(2026, 7, 1, 12));
        EXPECT_EQ(texts.baseLabel, c.label);
    }
}

TEST(ComposeResultTest, CrossingMidnightShowsTheNextDay) {
    const auto gmt = FixedZone(0);
    const auto plusTwo = FixedZone(120);
    const ResultTexts texts =
        ComposeResult(gmt.get(), plusTwo.get(), Entered(2026, 12, 31, 23, 30), At(2026, 7, 1, 12));
    EXPECT_EQ(texts.result, "01:30\n\n01.01.2027, Friday \n\nTime difference : 2");
}

TEST(ComposeResultTest, DaylightPieceFollowsEachZonesOwnClock) {
    const auto berlin = BerlinZone();
    const auto newYork = NewYorkZone();
    // 01:30 in New York on 8 March is before its change; Berlin is far from
    // its own, so only the New York label changes across the change.
    const ResultTexts before =
        ComposeResult(berlin.get(), newYork.get(), Entered(2026, 3, 8, 7, 30), At(2026, 3, 1, 12));
    EXPECT_EQ(before.remoteLabel, "Remote location: GMT-5");
    EXPECT_EQ(before.result.substr(0, 5), "01:30");
    const ResultTexts after =
        ComposeResult(berlin.get(), newYork.get(), Entered(2026, 3, 8, 8, 30), At(2026, 3, 1, 12));
    EXPECT_EQ(after.remoteLabel, "Remote location: GMT-5   DST:1");
    EXPECT_EQ(after.result.substr(0, 5), "03:30");
    // The difference describes the given moment, not the entered time.
    EXPECT_EQ(before.result.substr(before.result.size() - 2), "-6");
    EXPECT_EQ(after.result.substr(after.result.size() - 2), "-6");
}

TEST(ComposeResultTest, DifferenceAtTheEnteredTimeAsWellAsNow) {
    const auto berlin = BerlinZone();
    const auto newYork = NewYorkZone();
    struct Case {
        const char* name;
        const CTimeZone* base;
        const CTimeZone* remote;
        std::optional<int> now;
        std::optional<int> atEntered;
    };
    // 20 March: New York's summer time has begun, Berlin's has not.
    const Case cases[] = {
        {"berlin_to_new_york", berlin.get(), newYork.get(), -360, -300},
        {"new_york_to_berlin", newYork.get(), berlin.get(), 360, 300},
        {"same_record", berlin.get(), berlin.get(), 0, 0},
        {"utc_base", nullptr, newYork.get(), std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const ResultTexts texts =
            ComposeResult(c.base, c.remote, Entered(2026, 3, 20, 12, 0), At(2026, 7, 1, 12));
        EXPECT_EQ(texts.differenceNow, c.now) << c.name;
        EXPECT_EQ(texts.differenceAtEntered, c.atEntered) << c.name;
    }
    const ResultTexts texts =
        ComposeResult(berlin.get(), newYork.get(), Entered(2026, 3, 20, 12, 0), At(2026, 7, 1, 12));
    EXPECT_EQ(texts.remoteClock + "|" + texts.remoteDate, "07:00|03.20.2026, Friday");
}

TEST(ComposeResultTest, ACarryOutOfTheCalendarRangeRaisesFail) {
    const auto minusFive = FixedZone(-300);
    const auto hugeOffset = FixedZone(3000);  // beyond the single day of carry
    EXPECT_THROW(
        ComposeResult(nullptr, minusFive.get(), Entered(1900, 1, 1, 0, 30), At(2026, 7, 1, 12)),
        platform::FrameworkError);
    try {
        ComposeResult(nullptr, hugeOffset.get(), Entered(2026, 7, 1, 12, 0), At(2026, 7, 1, 12));
        ADD_FAILURE() << "an offset beyond one day must be rejected";
    } catch (const platform::FrameworkError& error) {
        EXPECT_EQ(error.Status(), platform::ErrorStatus::Fail);
    }
}

}  // namespace
