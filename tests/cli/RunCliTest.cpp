#include "cli/CliFixture.h"

#include <gtest/gtest.h>

#include <sstream>

#include "catalogue/LoadCatalogue.h"
#include "support/FixedClock.h"
#include "support/TempDir.h"

namespace {

constexpr std::string_view kZones =
    "Europe/Berlin,(UTC+01:00) Germany,,60,10,0,1,5,3,0,60,3,0,1,5,2,0\n"
    "America/New_York,(UTC-05:00) United States,,-300,11,0,1,1,2,0,60,3,0,1,2,2,0\n"
    "Asia/Kolkata,(UTC+05:30) India,,330\n";
constexpr std::string_view kPlaces =
    "Europe/Berlin,Berlin\n"
    "Europe/Berlin,Bern\n"
    "America/New_York,New York\n"
    "Asia/Kolkata,Kolkata\n"
    "Asia/Kolkata,Calcutta\n";

class RunCliTest : public CliFixture {
protected:
    RunCliTest() { WriteData(kZones, kPlaces); }
};

TEST_F(RunCliTest, PrintsTheWindowsTextsForAConversion) {
    EXPECT_EQ(
        Run({"--at", "2026-07-01T14:05", "--now", "2026-07-01T12:00:00Z", "Berlin", "New York"}),
        kCliSuccess);
    EXPECT_EQ(m_out.str(),
              "Base location: GMT+1   DST:1\n"
              "Remote location: GMT-5   DST:1\n"
              "08:05\n\n07.01.2026, Wednesday \n\nTime difference : -6\n"
              "Time difference at the entered time : -6\n");
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(RunCliTest, AbsentZonesShowTheLabelsInitialTexts) {
    EXPECT_EQ(Run({"--at", "2026-07-01T12:00", "utc", "kolkata"}), kCliSuccess);
    EXPECT_EQ(m_out.str(),
              "Base location:\n"
              "Remote location: GMT+5:30\n"
              "17:30\n\n07.01.2026, Wednesday \n\nTime difference : \n"
              "Time difference at the entered time : \n");
}

TEST_F(RunCliTest, SeveralRemotePlacesGiveALineEachAfterTheBasePlace) {
    // On 20 March New York keeps summer time and Berlin does not yet; on the
    // given present moment both do.
    const std::vector<std::string> moments = {"--at", "2026-03-20T12:00", "--now",
                                              "2026-07-01T12:00:00Z", "Berlin"};
    std::vector<std::string> arguments = moments;
    arguments.insert(arguments.end(), {"New York", "kolk", "America/New_York", "UTC"});
    EXPECT_EQ(Run(arguments), kCliSuccess);
    EXPECT_EQ(m_out.str(),
              "Berlin\tGMT+1\t12:00\t03.20.2026, Friday\t0\t0\n"
              "New York\tGMT-5   DST:1\t07:00\t03.20.2026, Friday\t-6\t-5\n"
              "Kolkata\tGMT+5:30\t16:30\t03.20.2026, Friday\t3:30\t4:30\n"
              "America/New_York\tGMT-5   DST:1\t07:00\t03.20.2026, Friday\t-6\t-5\n"
              "UTC\t\t11:00\t03.20.2026, Friday\t\t\n");
    EXPECT_EQ(m_err.str(), "olvanta-cli: 'kolk' taken as 'Kolkata'\n");

    // One remote place: the window's texts, then the difference at the
    // entered time where it is not the present one.
    arguments = moments;
    arguments.push_back("New York");
    EXPECT_EQ(Run(arguments), kCliSuccess);
    EXPECT_EQ(m_out.str(),
              "Base location: GMT+1\n"
              "Remote location: GMT-5   DST:1\n"
              "07:00\n\n03.20.2026, Friday \n\nTime difference : -6\n"
              "Time difference at the entered time : -5\n");
}

TEST_F(RunCliTest, ABareTimeIsThatTimeTodayAtTheBasePlace) {
    m_clock.seconds = 1782936000;  // 2026-07-01T20:00:00Z: 2 July in Kolkata
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--at", "09:00", "Kolkata", "UTC"}, "03:30\n\n07.02.2026, Thursday"},
        {{"--at", "09:00", "UTC", "Kolkata"}, "14:30\n\n07.01.2026, Wednesday"},
        {{"--at", "23:30", "New York", "Kolkata"}, "09:00\n\n07.02.2026, Thursday"},
    };
    for (const auto& [arguments, result] : cases) {
        EXPECT_EQ(Run(arguments), kCliSuccess) << arguments[1];
        EXPECT_NE(m_out.str().find(result), std::string::npos) << m_out.str();
    }
}

TEST_F(RunCliTest, ListsEveryEntryInListOrder) {
    EXPECT_EQ(Run({"--list"}), kCliSuccess);
    EXPECT_EQ(m_out.str(), "Berlin\nBern\nCalcutta\nKolkata\nNew York\nUTC\n");
}

TEST_F(RunCliTest, DefaultsComeFromTheClock) {
    // The clock's moment is now at the base place (17:30 in Kolkata) and
    // decides the difference.
    EXPECT_EQ(Run({"Kolkata", "UTC"}), kCliSuccess);
    EXPECT_NE(m_out.str().find("12:00\n\n07.01.2026, Wednesday"), std::string::npos) << m_out.str();
    EXPECT_EQ(Run({"Berlin", "Kolkata"}), kCliSuccess);
    EXPECT_NE(m_out.str().find("Time difference : 3:30\n"), std::string::npos) << m_out.str();
}

}  // namespace
