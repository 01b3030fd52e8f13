#include "tools/tzgen/ZoneRuleEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/ZoneSource.h"

namespace {

using tzgen::EncodedZone;

bool HasNote(const EncodedZone& zone, const std::string& part) {
    return std::any_of(zone.notes.begin(), zone.notes.end(), [&part](const std::string& note) {
        return note.find(part) != std::string::npos;
    });
}

struct RuleCase {
    const char* tz;
    TransitionRule standard;  // bias, then the end of daylight time
    TransitionRule daylight;  // saving, then the start of daylight time
    const char* note;         // a part of a note the encoding must carry, or ""
};

TEST(ZoneRuleEncoder, RewritesFooterRulesIntoRuleFields) {
    const std::vector<RuleCase> cases = {
        {"CET-1CEST,M3.5.0,M10.5.0/3", {60, 10, 0, 1, 5, 3, 0}, {60, 3, 0, 1, 5, 2, 0}, ""},
        {"EST5EDT,M3.2.0,M11.1.0", {-300, 11, 0, 1, 1, 2, 0}, {60, 3, 0, 1, 2, 2, 0}, ""},
        // 26:00 after the fourth Thursday: 02:00 on the Friday on or after the 23rd.
        {"IST-2IDT,M3.4.4/26,M10.5.0", {120, 10, 0, 1, 5, 2, 0}, {60, 3, 23, 6, 1, 2, 0}, ""},
        // 50:00 after the fourth Thursday: 02:00 on the Saturday on or after the 24th.
        {"EET-2EEST,M3.4.4/50,M10.4.4/50", {120, 10, 24, 7, 1, 2, 0}, {60, 3, 24, 7, 1, 2, 0}, ""},
        // 24:00 after the first Saturday: midnight starting the Sunday on or after the 2nd.
        {"<-04>4<-03>,M9.1.6/24,M4.1.6/24", {-240, 4, 2, 1, 1, 0, 0}, {60, 9, 2, 1, 1, 0, 0}, ""},
        // The day after the last Thursday may be in November: hour 24 instead.
        {"EET-2EEST,M4.5.5/0,M10.5.4/24", {120, 10, 0, 5, 5, 24, 0}, {60, 4, 0, 6, 5, 0, 0}, ""},
        // -1:00 on the last Sunday: 23:00 on the Saturday on or after the 24th.
        {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0",
         {-120, 10, 0, 1, 5, 0, 0},
         {60, 3, 24, 7, 1, 23, 0},
         ""},
        {"IST-1GMT0,M10.5.0,M3.5.0/1", {0, 10, 0, 1, 5, 2, 0}, {60, 3, 0, 1, 5, 1, 0}, "swapped"},
        {"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0",
         {630, 4, 0, 1, 1, 2, 0},
         {30, 10, 0, 1, 1, 2, 0},
         ""},
        {"<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45",
         {765, 4, 0, 1, 1, 3, 45},
         {60, 9, 0, 1, 5, 2, 45},
         ""},
        {"JST-9", {540, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, ""},
        {"<+0530>-5:30", {330, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, ""},
        {"EST5EDT4,0/0,J365/25", {-240, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, ""},
        // The Saturday before the first Sunday of March 2026 is in February.
        {"<-02>2<-01>,M3.1.0/-1,M10.5.0/0",
         {-120, 10, 0, 1, 5, 0, 0},
         {60, 2, 28, 0, 0, 23, 0},
         "2026 only"},
        {"EET-2EEST,M4.5.5/0,M10.5.4/26",
         {120, 10, 30, 0, 0, 2, 0},
         {60, 4, 0, 6, 5, 0, 0},
         "2026 only"},
        {"XXX3YYY,J60,J300", {-180, 10, 27, 0, 0, 2, 0}, {60, 3, 1, 0, 0, 2, 0}, ""},
        {"XXX3YYY,59,300", {-180, 10, 28, 0, 0, 2, 0}, {60, 3, 1, 0, 0, 2, 0}, "2026 only"},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.tz);
        const auto tz = tzsource::ParsePosixTz(c.tz);
        ASSERT_TRUE(tz.has_value());
        const EncodedZone zone = tzgen::EncodeRule(*tz, 2026);
        EXPECT_EQ(zone.standard, c.standard);
        EXPECT_EQ(zone.daylight, c.daylight);
        if (*c.note != '\0') {
            EXPECT_TRUE(HasNote(zone, c.note));
        } else {
            EXPECT_TRUE(zone.notes.empty()) << zone.notes.front();
        }
    }
}

TEST(ZoneRuleEncoder, LastWeekdayOfFebruaryMovedByADayIsFixedForTheYear) {
    // Where the month's length varies, the search start cannot be fixed.
    const auto tz = tzsource::ParsePosixTz("XXX3YYY,M2.5.0/-1,M10.5.0");
    ASSERT_TRUE(tz);
    const EncodedZone zone = tzgen::EncodeRule(*tz, 2028);
    EXPECT_EQ(zone.daylight, (TransitionRule{60, 2, 26, 0, 0, 23, 0}));
    EXPECT_TRUE(HasNote(zone, "2028 only"));
}

constexpr std::string_view kTableZones =
    R"(# Morocco-like: an hour less in Ramadan 2026, the footer says +01 for ever.
Rule	Morocco	2026	only	-	Feb	15	3:00	-1:00	-
Rule	Morocco	2026	only	-	Mar	22	2:00	0	-
Zone	Africa/Ramadan	1:00	Morocco	+01/+00
# A permanent change in the middle of 2026.
Zone	Asia/Shifty	3:00	-	+03	2026 Jul 1 0:00
			4:00	-	+04
# Daylight time in force from a mid-2026 change until the rule ends it.
Rule	Late	2027	max	-	Mar	lastSun	2:00	1:00	S
Rule	Late	2026	max	-	Oct	lastSun	3:00	0	-
Zone	Europe/Late	1:00	-	+01	2026 Jun 1 0:00
			1:00	1:00	+02	2026 Oct 25 3:00
			1:00	Late	+01/+02
)";

TEST(ZoneRuleEncoder, YearsThatTheFooterDoesNotDescribeUseTheirOwnChanges) {
    TempDir dir;
    const auto zoneinfo = CompileZones(dir, kTableZones);
    const auto history = [&zoneinfo](const char* name) {
        return tzsource::ZoneHistory(tzsource::ReadTzifFile((zoneinfo / name).string()));
    };
    const EncodedZone ramadan = tzgen::EncodeZone(history("Africa/Ramadan"), 2026);
    EXPECT_EQ(ramadan.source, "2026 transitions");
    EXPECT_EQ(ramadan.standard, (TransitionRule{0, 2, 15, 0, 0, 3, 0}));
    EXPECT_EQ(ramadan.daylight, (TransitionRule{60, 3, 22, 0, 0, 2, 0}));
    EXPECT_TRUE(HasNote(ramadan, "2026 only"));
    const EncodedZone ramadanLater = tzgen::EncodeZone(history("Africa/Ramadan"), 2027);
    EXPECT_EQ(ramadanLater.source, "TZ <+01>-1");
    EXPECT_EQ(ramadanLater.standard, (TransitionRule{60, 0, 0, 0, 0, 0, 0}));

    // One change up: from it to the year's last moment counts as daylight time.
    const EncodedZone shifty = tzgen::EncodeZone(history("Asia/Shifty"), 2026);
    EXPECT_EQ(shifty.standard, (TransitionRule{180, 12, 31, 0, 0, 24, 0}));
    EXPECT_EQ(shifty.daylight, (TransitionRule{60, 7, 1, 0, 0, 0, 0}));
    EXPECT_EQ(tzgen::EncodeZone(history("Asia/Shifty"), 2027).standard.bias, 240);

    const EncodedZone late = tzgen::EncodeZone(history("Europe/Late"), 2026);
    EXPECT_EQ(late.standard, (TransitionRule{60, 10, 25, 0, 0, 3, 0}));
    EXPECT_EQ(late.daylight, (TransitionRule{60, 6, 1, 0, 0, 0, 0}));
    const EncodedZone lateNext = tzgen::EncodeZone(history("Europe/Late"), 2027);
    EXPECT_EQ(lateNext.daylight, (TransitionRule{60, 3, 0, 1, 5, 2, 0}));
}

}  // namespace
