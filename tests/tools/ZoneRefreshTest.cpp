#include "tools/tzgen/ZoneRefresh.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "catalogue/LoadCatalogue.h"
#include "support/CalendarTimes.h"
#include "support/ScopedEnvironment.h"
#include "timecalc/TimeCarry.h"
#include "tools/ZoneSource.h"
#include "tools/tzcheck/AccuracyCheck.h"
#include "tools/tzsource/DateText.h"
#include "tools/tzsource/TzdataTables.h"

namespace {

constexpr std::string_view kLocations =
    "Europe/Nordby,Nordby\n"
    "America/Stopby,Stopby\n"
    "Asia/Twice,Twice\n"
    "My/Station,Station Alpha\n"
    "Nowhere/Zone,Lost\n";

constexpr std::string_view kOwnZone = "My/Station,UTC+05:00 research station,my own zone,300";

class ZoneRefreshTest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::filesystem::path m_zoneinfo =
        CompileZones(m_dir, std::string(kTestZoneSource) + std::string(kChangingZoneSource));
};

TEST_F(ZoneRefreshTest, TheProgramsAnswersFollowTheZoneinfoAndZonesOfOnesOwnStay) {
    tzgen::RefreshInput input;
    input.zoneinfoDirectory = m_zoneinfo;
    input.locationsText = kLocations;
    input.previousZoneFile = std::string(kOwnZone) + "\nEurope/Nordby,stale,,0\n";
    input.window = tzgen::RuleWindow::FromStart(*tzsource::ParseDate("2026-01-01"));
    const auto file = tzgen::RefreshZoneFile(input);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->tzdataVersion, "2099z");
    EXPECT_EQ(file->zonesMade, 3u);
    EXPECT_EQ(file->zonesKept, 1u);
    EXPECT_EQ(file->missing, std::vector<std::string>{"Nowhere/Zone"});
    EXPECT_NE(file->text.find(std::string(kOwnZone) + "\n"), std::string::npos);

    m_dir.Write("data/" + std::string(kZoneFileName), file->text);
    m_dir.Write("data/" + std::string(kLocationsFileName), kLocations);
    Catalogue zones;
    ASSERT_EQ(LoadCatalogue(zones, CatalogueFiles::InDirectory(m_dir.Path() / "data")),
              LoadOutcome::Loaded);
    const struct {
        const char* zone;
        SYSTEMTIME utc;
        int offset;  // minutes east of UTC
    } answers[] = {
        {"Europe/Nordby", At(2026, 7, 1, 12), 120},
        {"Europe/Nordby", At(2026, 12, 1, 12), 60},
        // Daylight time from 8 March 2026 10:00 UTC for good.
        {"America/Stopby", At(2026, 3, 8, 9, 59), -480},
        {"America/Stopby", At(2026, 3, 8, 10), -420},
        {"America/Stopby", At(2026, 12, 31, 23, 59), -420},
        // +03, +04 from 1 April; the second change (to +03:30 on 1 September)
        // is not followed: the regime from the window's start holds.
        {"Asia/Twice", At(2026, 3, 31, 20, 59), 180},
        {"Asia/Twice", At(2026, 3, 31, 21), 240},
        {"Asia/Twice", At(2026, 10, 1), 240},
        {"My/Station", At(2026, 7, 1), 300},
        {"Nowhere/Zone", At(2026, 7, 1), 0},
    };
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.zone);
        const CTimeZone* zone = zones.Lookup(answer.zone);
        ASSERT_NE(zone, nullptr);
        EXPECT_EQ(CurrentOffset(*zone, answer.utc), answer.offset);
    }
    EXPECT_NE(zones.Lookup("Asia/Twice")->m_strRemark.find("inexact: "), std::string::npos);

    // Hour by hour over the window, only the zone noted as inexact departs
    // from the database outside the hour after a change.
    tzcheck::CheckOptions options;
    options.zoneinfoDirectory = m_zoneinfo;
    options.start = input.window.start;
    options.zones = {"Europe/Nordby", "America/Stopby", "Asia/Twice"};
    const tzcheck::CheckReport report = tzcheck::RunCheck(zones, options);
    EXPECT_EQ(report.zonesChecked, 3u);
    EXPECT_TRUE(tzcheck::ExactZonesAgree(report));
    EXPECT_LT(report.byWindow.front().outsideAgreeing, report.byWindow.front().outsideCases);
}

TEST_F(ZoneRefreshTest, NoZoneOfTheLocationsFileInTheDirectoryIsAFailure) {
    tzgen::RefreshInput input;
    input.zoneinfoDirectory = m_dir.Path() / "nothing here";
    input.locationsText = kLocations;
    EXPECT_FALSE(tzgen::RefreshZoneFile(input));
    input.locationsText = "";
    EXPECT_TRUE(tzgen::RefreshZoneFile(input));
}

TEST_F(ZoneRefreshTest, TheProgramReplacesTheFileALinkLeadsToOrLeavesItAlone) {
    const auto locations = m_dir.Write("lib/" + std::string(kLocationsFileName), kLocations);
    const auto made = m_dir.Path() / "var" / kZoneFileName;
    const auto link = m_dir.Path() / "lib" / kZoneFileName;
    std::filesystem::create_directories(made.parent_path());
    std::filesystem::create_symlink("../var/" + std::string(kZoneFileName), link);
    ScopedEnvironment environment;
    environment.Set("SOURCE_DATE_EPOCH", "1767225600");  // 2026-01-01 00:00 UTC
    const auto run = [&](const std::filesystem::path& zoneinfo) {
        return RunProgram(OLVANTA_TZREFRESH,
                          {"--zoneinfo", zoneinfo.string(), "--locations", locations.string(),
                           "--out", link.string()},
                          {(m_dir.Path() / "out").string(), (m_dir.Path() / "err").string()});
    };
    ASSERT_EQ(run(m_zoneinfo), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    const auto text = tzsource::ReadTextFile(made.string());
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("2026-01-01 to 2027-01-01 from tzdata 2099z"), std::string::npos);
    struct stat status {};
    ASSERT_EQ(::stat(made.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);

    EXPECT_EQ(run(m_dir.Path() / "no zoneinfo"), 1);
    EXPECT_NE(tzsource::ReadTextFile((m_dir.Path() / "err").string())->find("no zone that"),
              std::string::npos);
    EXPECT_EQ(tzsource::ReadTextFile(made.string()), text);
    environment.Set("SOURCE_DATE_EPOCH", "yesterday");
    EXPECT_EQ(run(m_zoneinfo), 1);
    EXPECT_EQ(tzsource::ReadTextFile(made.string()), text);
}

}  // namespace
