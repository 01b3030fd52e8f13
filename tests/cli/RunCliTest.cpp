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
              "08:05\n\n07.01.2026, Wednesday \n\nTime difference : -6\n");
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(RunCliTest, AbsentZonesShowTheLabelsInitialTexts) {
    EXPECT_EQ(Run({"--at", "2026-07-01T12:00", "utc", "kolkata"}), kCliSuccess);
    EXPECT_EQ(m_out.str(),
              "Base location:\n"
              "Remote location: GMT+5:30\n"
              "17:30\n\n07.01.2026, Wednesday \n\nTime difference : \n");
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
