#include "timecalc/TimeCarry.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "support/CalendarTimes.h"
#include "support/IanaTime.h"
#include "support/TestZones.h"
#include "timecalc/TimeValue.h"

namespace {

WallFields FieldsOf(const SYSTEMTIME& time) {
    return WallFields{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute};
}

SYSTEMTIME UtcOf(std::time_t seconds) {
    return UniversalCalendarTime(seconds);
}

TEST(CarryTimeTest, WorkedExampleFromBerlinToNewYork) {
    const auto berlin = BerlinZone();
    const auto newYork = NewYorkZone();
    SYSTEMTIME time = At(2026, 7, 1, 14, 5);
    CarryTime(berlin.get(), newYork.get(), time);
    EXPECT_EQ(time, At(2026, 7, 1, 8, 5));
}

TEST(CarryTimeTest, UtcOnEitherSide) {
    const auto berlin = BerlinZone();
    const auto newYork = NewYorkZone();
    struct Case {
        const char* name;
        const CTimeZone* base;
        const CTimeZone* remote;
        SYSTEMTIME entered;
        SYSTEMTIME expected;
    };
    const Case cases[] = {
        {"utc_to_new_york_summer", nullptr, newYork.get(), At(2026, 7, 1, 12), At(2026, 7, 1, 8)},
        {"berlin_summer_to_utc", berlin.get(), nullptr, At(2026, 7, 1, 12), At(2026, 7, 1, 10)},
        {"berlin_winter_to_utc", berlin.get(), nullptr, At(2026, 1, 1, 0, 30),
         At(2025, 12, 31, 23, 30)},
        {"utc_to_utc", nullptr, nullptr, At(2026, 7, 1, 12), At(2026, 7, 1, 12)},
        {"same_record", berlin.get(), berlin.get(), At(2026, 3, 29, 2, 30), At(2026, 3, 29, 2, 30)},
    };
    for (const Case& c : cases) {
        SYSTEMTIME time = c.entered;
        CarryTime(c.base, c.remote, time);
        EXPECT_EQ(time, c.expected) << c.name;
    }
}

TEST(CarryTimeTest, CrossesMidnightMonthAndYearEnds) {
    const auto plusTwo = FixedZone(120);
    const auto minusFive = FixedZone(-300);
    SYSTEMTIME time = At(2026, 12, 31, 23, 30);
    CarryTime(nullptr, plusTwo.get(), time);
    EXPECT_EQ(time, At(2027, 1, 1, 1, 30));

    time = At(2024, 3, 1, 2, 0);
    CarryTime(nullptr, minusFive.get(), time);
    EXPECT_EQ(time, At(2024, 2, 29, 21, 0));

    time = At(2100, 2, 28, 23, 0);
    CarryTime(nullptr, plusTwo.get(), time);
    EXPECT_EQ(time, At(2100, 3, 1, 1, 0));
}

struct ZonePair {
    const char* baseName;
    std::unique_ptr<CTimeZone> (*base)();
    const char* remoteName;
    std::unique_ptr<CTimeZone> (*remote)();
};

constexpr std::time_t kStartOf2026 = 1767225600;
constexpr std::time_t kStartOf2027 = 1798761600;
constexpr std::time_t kStartOf2028 = 1830297600;

// Every half hour of 2026 at the base place, converted by the engine and by
// the IANA database. The only base wall-clock times skipped are the second
// occurrences of the repeated autumn hour, which the engine reads as the
// first occurrence.
TEST(CarryTimeTest, AgreesWithTheIanaDatabaseAllYearRound) {
    const ZonePair pairs[] = {
        {"Europe/Berlin", BerlinZone, "America/New_York", NewYorkZone},
        {"America/New_York", NewYorkZone, "Australia/Sydney", SydneyZone},
        {"Australia/Sydney", SydneyZone, "Europe/Berlin", BerlinZone},
    };
    constexpr std::time_t kStep = 1800;
    for (const ZonePair& pair : pairs) {
        if (!IanaZoneInstalled(pair.baseName) || !IanaZoneInstalled(pair.remoteName)) {
            GTEST_SKIP() << "tzdata is not installed";
        }
        const auto base = pair.base();
        const auto remote = pair.remote();
        const auto baseWalls =
            IanaReadings(pair.baseName, kStartOf2026 - 3600, kStartOf2027, kStep);
        const auto remoteWalls =
            IanaReadings(pair.remoteName, kStartOf2026 - 3600, kStartOf2027, kStep);
        int compared = 0;
        int mismatches = 0;
        for (std::size_t i = 2; i < baseWalls.size(); ++i) {
            const WallFields& baseWall = baseWalls[i].wall;
            const WallFields& hourEarlier = baseWalls[i - 2].wall;
            if (hourEarlier.hour == baseWall.hour && hourEarlier.minute == baseWall.minute) {
                continue;
            }
            SYSTEMTIME time =
                At(baseWall.year, baseWall.month, baseWall.day, baseWall.hour, baseWall.minute);
            CarryTime(base.get(), remote.get(), time);
            ++compared;
            if (!(FieldsOf(time) == remoteWalls[i].wall)) {
                ++mismatches;
                ADD_FAILURE() << pair.baseName << " " << ToString(baseWall) << " -> "
                              << pair.remoteName << ": engine " << ToString(FieldsOf(time))
                              << ", IANA " << ToString(remoteWalls[i].wall);
            }
        }
        EXPECT_GT(compared, 17000) << pair.baseName;
        EXPECT_EQ(mismatches, 0) << pair.baseName << " -> " << pair.remoteName;
    }
}

TEST(CarryTimeTest, UniversalToWallClockIsExactAtEveryQuarterHour) {
    struct Case {
        const char* iana;
        std::unique_ptr<CTimeZone> (*zone)();
    };
    const Case cases[] = {{"Europe/Berlin", BerlinZone},
                          {"America/New_York", NewYorkZone},
                          {"Australia/Sydney", SydneyZone}};
    constexpr std::time_t kStep = 900;
    for (const Case& c : cases) {
        if (!IanaZoneInstalled(c.iana)) {
            GTEST_SKIP() << "tzdata is not installed";
        }
        const auto zone = c.zone();
        const auto readings = IanaReadings(c.iana, kStartOf2026, kStartOf2028, kStep);
        for (std::size_t i = 0; i < readings.size(); ++i) {
            const std::time_t utc = kStartOf2026 + static_cast<std::time_t>(i) * kStep;
            SYSTEMTIME time = UtcOf(utc);
            UniversalToWallClock(*zone, time);
            ASSERT_EQ(FieldsOf(time), readings[i].wall) << c.iana << " at " << utc;
        }
    }
}

TEST(OffsetDifferenceTest, DescribesTheGivenMoment) {
    const auto berlin = BerlinZone();
    const auto newYork = NewYorkZone();
    const auto sydney = SydneyZone();
    const auto gmt = FixedZone(0);
    struct Case {
        const char* name;
        const CTimeZone* base;
        SYSTEMTIME utc;
        const CTimeZone* remote;
        int expected;
    };
    const Case cases[] = {
        {"july_day", berlin.get(), At(2026, 7, 1, 12), newYork.get(), -360},
        {"january_day", berlin.get(), At(2026, 1, 15, 12), newYork.get(), -360},
        // New York has moved its clocks (8 March), Berlin not yet (29 March).
        {"between_the_spring_changes", berlin.get(), At(2026, 3, 20, 12), newYork.get(), -300},
        {"same_zone", sydney.get(), At(2026, 10, 4, 1), sydney.get(), 0},
        // 16:30 UTC on 3 October is 03:30 on 4 October in Sydney, half an hour
        // into daylight-saving time. Judged at UTC minus the offset, the zone
        // would still be on standard time that morning.
        {"sydney_just_after_its_change", gmt.get(), At(2026, 10, 3, 16, 30), sydney.get(), 660},
        {"sydney_just_before_its_change", gmt.get(), At(2026, 10, 3, 15, 59), sydney.get(), 600},
        // 02:00 daylight time on 1 November in New York is 06:00 UTC.
        {"new_york_before_its_autumn_change", gmt.get(), At(2026, 11, 1, 5, 59), newYork.get(),
         -240},
        {"new_york_after_its_autumn_change", gmt.get(), At(2026, 11, 1, 6, 0), newYork.get(), -300},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OffsetDifference(*c.base, c.utc, *c.remote), c.expected) << c.name;
    }
}

TEST(OffsetDifferenceTest, AgreesWithTheIanaOffsetsAllYearRound) {
    const auto sydney = SydneyZone();
    const auto newYork = NewYorkZone();
    if (!IanaZoneInstalled("Australia/Sydney") || !IanaZoneInstalled("America/New_York")) {
        GTEST_SKIP() << "tzdata is not installed";
    }
    constexpr std::time_t kStep = 1800;
    const auto sydneyReadings = IanaReadings("Australia/Sydney", kStartOf2026, kStartOf2027, kStep);
    const auto newYorkReadings =
        IanaReadings("America/New_York", kStartOf2026, kStartOf2027, kStep);
    for (std::size_t i = 0; i < sydneyReadings.size(); ++i) {
        const std::time_t utc = kStartOf2026 + static_cast<std::time_t>(i) * kStep;
        const int expected = sydneyReadings[i].offsetMinutes - newYorkReadings[i].offsetMinutes;
        ASSERT_EQ(OffsetDifference(*newYork, UtcOf(utc), *sydney), expected) << utc;
    }
}

}  // namespace
