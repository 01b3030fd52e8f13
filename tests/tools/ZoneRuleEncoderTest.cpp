#include "tools/tzgen/ZoneRuleEncoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ZoneSource.h"
#include "tools/tzsource/DateText.h"

namespace {

using tzgen::EncodedZone;

struct EncoderCase {
    const char* zone;
    const char* start;        // of the window
    TransitionRule standard;  // bias, then the end of daylight time
    TransitionRule daylight;  // saving, then the start of daylight time
    const char* note;         // a part of the one note the encoding must carry, or ""
};

TEST(ZoneRuleEncoder, WritesTheWindowsChangesInTheShapeThatFollowsTheLaterYears) {
    TempDir dir;
    const auto zoneinfo =
        CompileZones(dir, std::string(kTestZoneSource) + std::string(kChangingZoneSource));
    const std::vector<EncoderCase> cases = {
        {"Europe/Nordby", "2026-01-01", {60, 10, 0, 1, 5, 3, 0}, {60, 3, 0, 1, 5, 2, 0}, ""},
        // The same yearly change twice in the window (29 March 2026 and 28
        // March 2027) is one rule.
        {"Europe/Nordby", "2026-03-29", {60, 10, 0, 1, 5, 3, 0}, {60, 3, 0, 1, 5, 2, 0}, ""},
        {"Australia/Southam", "2026-01-01", {600, 4, 0, 1, 1, 3, 0}, {60, 10, 0, 1, 1, 2, 0}, ""},
        {"America/Port_Half", "2026-01-01", {-210, 11, 0, 1, 1, 2, 0}, {60, 3, 0, 1, 2, 2, 0}, ""},
        // The end of the last Thursday, which may be 31 October: hour 24.
        {"Africa/Nilby", "2026-01-01", {120, 10, 0, 5, 5, 24, 0}, {60, 4, 0, 6, 5, 0, 0}, ""},
        // 23:00 on the Saturday before the last Sunday: on or after the 24th.
        {"America/Negby", "2026-01-01", {-120, 10, 0, 1, 5, 0, 0}, {60, 3, 24, 7, 1, 23, 0}, ""},
        {"America/Chilby", "2026-01-01", {-240, 4, 2, 1, 1, 0, 0}, {60, 9, 2, 1, 1, 0, 0}, ""},
        {"Asia/Zionby", "2026-01-01", {120, 10, 0, 1, 5, 2, 0}, {60, 3, 23, 6, 1, 2, 0}, ""},
        // Winter time counts as standard time, summer as daylight time.
        {"Europe/Dubby", "2026-01-01", {0, 10, 0, 1, 5, 2, 0}, {60, 3, 0, 1, 5, 1, 0}, ""},
        {"Africa/Ramadan",
         "2026-01-01",
         {0, 2, 15, 0, 0, 3, 0},
         {60, 3, 22, 0, 0, 2, 0},
         "fixed for this window"},
        {"Asia/Plainpur", "2026-01-01", {330, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, ""},
        {"Asia/Renamed", "2026-01-01", {300, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, ""},
        // One change: the rules wrap around at the window's start, 17:00 on
        // 31 December on the daylight clock.
        {"America/Stopby", "2026-01-01", {-480, 12, 31, 0, 0, 17, 0}, {60, 3, 8, 0, 0, 2, 0}, ""},
        // After the change the zone is at one offset for good.
        {"America/Stopby", "2026-06-01", {-420, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, ""},
        // The change in the start's month: the wrap moves to the end of February.
        {"America/Stopby",
         "2026-03-02",
         {-480, 2, 31, 0, 0, 24, 0},
         {60, 3, 8, 0, 0, 2, 0},
         "wrap at the start of the month"},
        // Its last change back and the one for good: neither comes again.
        {"America/Stopby", "2025-03-20", {-480, 11, 2, 0, 0, 2, 0}, {60, 3, 8, 0, 0, 2, 0}, ""},
        // The change in the start's month a year on is left out.
        {"Asia/Shifty",
         "2025-07-10",
         {180, 0, 0, 0, 0, 0, 0},
         {0, 0, 0, 0, 0, 0, 0},
         "at the window's end left out"},
        // Three offsets: the first change holds, the second is noted.
        {"Asia/Twice",
         "2026-01-01",
         {180, 1, 1, 0, 0, 4, 0},
         {60, 4, 1, 0, 0, 0, 0},
         "1 changes from 2026-09-01 on not expressible"},
    };
    for (const EncoderCase& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " from " + c.start);
        const auto zone = tzsource::ZoneHistory::Load(zoneinfo / c.zone);
        const auto start = tzsource::ParseDate(c.start);
        ASSERT_TRUE(zone && start);
        const EncodedZone encoded = tzgen::EncodeZone(*zone, tzgen::RuleWindow::FromStart(*start));
        EXPECT_EQ(encoded.standard, c.standard);
        EXPECT_EQ(encoded.daylight, c.daylight);
        if (*c.note == '\0') {
            EXPECT_TRUE(encoded.notes.empty()) << encoded.notes.front();
        } else {
            ASSERT_FALSE(encoded.notes.empty());
            EXPECT_NE(encoded.notes.back().find(c.note), std::string::npos) << encoded.notes.back();
        }
    }
}

TEST(ZoneRuleEncoder, AWindowRunsToTheSameDayAYearOn) {
    const auto window = tzgen::RuleWindow::FromStart(*tzsource::ParseDate("2028-02-29"));
    EXPECT_EQ(tzsource::DateText(window.end), "2029-03-01");
    EXPECT_EQ(tzsource::DateText(tzgen::RuleWindow::FromStart(window.end).end), "2030-03-01");
}

}  // namespace
