#include "tools/tzcheck/AccuracyCheck.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "catalogue/LoadCatalogue.h"
#include "tools/UtcSeconds.h"
#include "tools/ZoneSource.h"
#include "tools/tzcheck/ZoneClock.h"
#include "tools/tzsource/DateText.h"

namespace {

using tzcheck::CheckReport;
using tzcheck::Disagreement;

class AccuracyCheckTest : public ::testing::Test {
protected:
    CheckReport Check(const std::string& zoneLines, const std::string& locations,
                      int daysAround = -1) {
        m_dir.Write("data/" + std::string(kZoneFileName), zoneLines);
        m_dir.Write("data/" + std::string(kLocationsFileName), locations);
        EXPECT_EQ(LoadCatalogue(m_zones, CatalogueFiles::InDirectory(m_dir.Path() / "data")),
                  LoadOutcome::Loaded);
        tzcheck::CheckOptions options;
        options.zoneinfoDirectory = m_zoneinfo;
        options.start = *tzsource::ParseDate("2026-01-01");
        options.windowCount = 2;
        options.daysAroundChanges = daysAround;
        return tzcheck::RunCheck(m_zones, options);
    }

    TempDir m_dir;
    std::filesystem::path m_zoneinfo = CompileZones(m_dir, kTestZoneSource);
    Catalogue m_zones;
};

constexpr const char* kNordbyRight = "Europe/Nordby,,,60,10,0,1,5,3,0,60,3,0,1,5,2,0\n";
// Daylight time ends a week early: the third Sunday of October 2026, not the last.
constexpr const char* kNordbyWrong = "Europe/Nordby,,,60,10,0,1,3,3,0,60,3,0,1,5,2,0\n";
constexpr std::uint64_t kHoursIn2026 = 365 * 24;

TEST_F(AccuracyCheckTest, RightRulesDisagreeOnlyInTheRepeatedHour) {
    const CheckReport report = Check(kNordbyRight, "Europe/Nordby,Nordby\nEurope/Nordby,Twin\n");
    ASSERT_TRUE(report.problems.empty());
    EXPECT_EQ(report.zonesChecked, 1u);
    EXPECT_EQ(report.placesChecked, 2u);
    ASSERT_EQ(report.byWindow.size(), 2u);
    // Every hour, both directions, once per place.
    EXPECT_EQ(report.byWindow[0].cases, kHoursIn2026 * 2 * 2);
    EXPECT_EQ(report.byWindow[0].outsideAgreeing, report.byWindow[0].outsideCases);
    EXPECT_EQ(report.byWindow[0].cases - report.byWindow[0].agreeing, 2u);
    ASSERT_EQ(report.disagreeing.size(), 1u);
    for (const Disagreement& d : report.disagreeing.front().disagreements) {
        EXPECT_TRUE(d.toUniversal);
        EXPECT_TRUE(d.afterChange);
        EXPECT_EQ(d.count, 1u);
    }
}

TEST_F(AccuracyCheckTest, WrongRulesAreFoundOutsideTheChangeHours) {
    const CheckReport report = Check(kNordbyWrong, "Europe/Nordby,Nordby\n");
    const tzcheck::Tally& year = report.byWindow[0];
    // A week of hours wrong in each direction, all before the real change.
    EXPECT_EQ(year.outsideCases - year.outsideAgreeing, 2u * 7 * 24);
    ASSERT_EQ(report.disagreeing.size(), 1u);
    std::ostringstream text;
    tzcheck::PrintReport(text, report, tzcheck::CheckOptions{});
    EXPECT_NE(text.str().find("Europe/Nordby (1 places;"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("the rules differ from the database"), std::string::npos);
}

TEST_F(AccuracyCheckTest, SliceSamplesOnlyTheDaysAroundChanges) {
    const CheckReport report =
        Check(std::string(kNordbyRight) + "Asia/Plainpur,,,330,0,0,0,0,0,0,0,0,0,0,0,0,0\n",
              "Europe/Nordby,Nordby\nAsia/Plainpur,Plainpur\n", 1);
    // Two changes a year, two days each, hourly, both directions; for the zone
    // without changes its first three days, half-hourly.
    EXPECT_EQ(report.byWindow[0].cases, 2u * 48 * 2 + 3u * 48 * 2);
    EXPECT_EQ(report.byWindow[0].outsideAgreeing, report.byWindow[0].outsideCases);
}

TEST_F(AccuracyCheckTest, ZonesThatCannotBeCheckedAreProblems) {
    const CheckReport report = Check("Europe/Unknown,,,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n",
                                     "Europe/Unknown,Somewhere\nEurope/Missing,Elsewhere\n");
    EXPECT_EQ(report.zonesChecked, 0u);
    EXPECT_EQ(report.problems.size(), 2u);
}

TEST(AccuracyFigures, PercentRoundsDownSoThatOnlyEveryCaseShowsAHundred) {
    EXPECT_EQ(tzcheck::Percent(0, 0), 100.0);
    EXPECT_EQ(tzcheck::Percent(10, 10), 100.0);
    EXPECT_EQ(tzcheck::Percent(999999, 1000000), 99.999);
    EXPECT_EQ(tzcheck::Percent(99999999, 100000000), 99.999);
    EXPECT_EQ(tzcheck::Percent(1, 3), 33.333);
}

TEST(AccuracyFigures, ReasonsFollowWhereTheCasesFall) {
    EXPECT_NE(tzcheck::DisagreementReason({0, true, true, 1, ""}).find("repeated"),
              std::string::npos);
    EXPECT_NE(tzcheck::DisagreementReason({1, false, false, 1, ""}).find("twelve months"),
              std::string::npos);
    EXPECT_EQ(tzcheck::DisagreementReason({0, false, false, 1, ""}),
              "the rules differ from the database");
}

TEST(AccuracyFigures, TheWindowIsTheOneTheZoneFileNames) {
    TempDir dir;
    dir.Write(kZoneFileName,
              "Etc/Placeless,,1999-01-01 to 2000-01-01 from tzdata 1999a,0\n"
              "Europe/Odd,,no window here,60\n"
              "Europe/Nordby,,2026-12-08 to 2027-12-08 from tzdata 2099z,60\n");
    dir.Write(kLocationsFileName, "Europe/Odd,Odd\nEurope/Nordby,Nordby\n");
    Catalogue zones;
    ASSERT_EQ(LoadCatalogue(zones, CatalogueFiles::InDirectory(dir.Path())), LoadOutcome::Loaded);
    const auto start = tzcheck::MadeForWindow(zones);
    ASSERT_TRUE(start);
    EXPECT_EQ(tzsource::DateText(*start), "2026-12-08");
    dir.Write(kZoneFileName, "Europe/Nordby,,TZ CET-1CEST,60\n");
    ASSERT_EQ(LoadCatalogue(zones, CatalogueFiles::InDirectory(dir.Path())), LoadOutcome::Loaded);
    EXPECT_FALSE(tzcheck::MadeForWindow(zones));
}

TEST(ZoneClock, ConvertsWithTheGivenZoneAndRestoresTheOldSetting) {
    TempDir dir;
    const auto zoneinfo = CompileZones(dir, kTestZoneSource);
    ::setenv("TZ", "UTC0", 1);
    {
        const ZoneClock clock(zoneinfo / "America/Port_Half");
        const auto summer = clock.ToWallClock(Utc(2026, 7, 1, 12));
        EXPECT_EQ(summer.utcOffsetSeconds, -9000);
        EXPECT_EQ(summer.hour, 9);
        EXPECT_EQ(summer.minute, 30);
        EXPECT_EQ(summer.weekday, 3);
    }
    EXPECT_STREQ(std::getenv("TZ"), "UTC0");
    EXPECT_THROW(ZoneClock(zoneinfo / "Nowhere/At_All"), std::runtime_error);
    ::unsetenv("TZ");
}

}  // namespace
