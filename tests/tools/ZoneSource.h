// Small zone databases compiled with zic inside the test, so that the tests of
// the tools do not depend on the machine's own tzdata version.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "support/RunProgram.h"
#include "support/TempDir.h"

// Zone source in zic's own syntax. Each zone's last line decides its footer
// rule; the zones are picked for the shapes a rule can take.
inline constexpr std::string_view kTestZoneSource = R"(# version 2099z
# Northern: the EU rule, changes at 01:00 UTC.
Rule	EU	1981	max	-	Mar	lastSun	 1:00u	1:00	S
Rule	EU	1996	max	-	Oct	lastSun	 1:00u	0	-
Zone	Europe/Nordby	1:00	EU	CE%sT
# Southern: daylight time from October to April.
Rule	AN	2008	max	-	Apr	Sun>=1	2:00s	0	S
Rule	AN	2008	max	-	Oct	Sun>=1	2:00s	1:00	D
Zone	Australia/Southam	10:00	AN	AE%sT
# Half an hour off the hour, with daylight time.
Rule	Canada	2007	max	-	Mar	Sun>=8	2:00	1:00	D
Rule	Canada	2007	max	-	Nov	Sun>=1	2:00	0	S
Zone	America/Port_Half	-3:30	Canada	N%sT
# Daylight time ends at 24:00 on the last Thursday of October.
Rule	Egypt	2023	max	-	Apr	lastFri	0:00	1:00	S
Rule	Egypt	2023	max	-	Oct	lastThu	24:00	0	-
Zone	Africa/Nilby	2:00	Egypt	EE%sT
# The EU rule seen from UTC-2: spring comes at 23:00 on the Saturday before.
Zone	America/Negby	-2:00	EU	-02/-01
# No daylight time at all.
Zone	Asia/Plainpur	5:30	-	IST
Zone	America/Plain_West	-7:00	-	MST
Link	Europe/Nordby	Europe/Old_Nordby
Link	Asia/Plainpur	Asia/Calcutta
Link	America/Plain_West	US/Plainland
)";

// Zones whose rules change, in the shapes that a window of twelve months can
// meet; compiled together with kTestZoneSource.
inline constexpr std::string_view kChangingZoneSource =
    R"(Rule	Chile	2023	max	-	Sep	Sun>=2	4:00u	1:00	-
Rule	Chile	2023	max	-	Apr	Sun>=2	3:00u	0	-
Zone	America/Chilby	-4:00	Chile	-04/-03
Rule	Zion	2013	max	-	Mar	Fri>=23	2:00	1:00	D
Rule	Zion	2013	max	-	Oct	lastSun	2:00	0	S
Zone	Asia/Zionby	2:00	Zion	I%sT
# Daylight time in winter, as Ireland has it.
Rule	Eire	1981	max	-	Mar	lastSun	1:00u	0	-
Rule	Eire	1996	max	-	Oct	lastSun	1:00u	-1:00	-
Zone	Europe/Dubby	1:00	Eire	IST/GMT
# An hour less in Ramadan, on dates that move every year.
Rule	Morocco	2026	only	-	Feb	15	3:00	-1:00	-
Rule	Morocco	2026	only	-	Mar	22	2:00	0	-
Rule	Morocco	2027	only	-	Feb	7	3:00	-1:00	-
Rule	Morocco	2027	only	-	Mar	14	2:00	0	-
Rule	Morocco	2028	only	-	Jan	23	3:00	-1:00	-
Rule	Morocco	2028	only	-	Mar	5	2:00	0	-
Zone	Africa/Ramadan	1:00	Morocco	+01/+00
# Stops changing clocks: daylight time from 8 March 2026 for good.
Rule	US	2007	max	-	Mar	Sun>=8	2:00	1:00	D
Rule	US	2007	max	-	Nov	Sun>=1	2:00	0	S
Zone	America/Stopby	-8:00	US	P%sT	2026 Mar  8 2:00
			-7:00	-	MST
# Changes its offset once, on 1 July 2026.
Zone	Asia/Shifty	3:00	-	+03	2026 Jul  1
			4:00	-	+04
# Changes its offset twice, to three offsets.
Zone	Asia/Twice	3:00	-	+03	2026 Apr  1
			4:00	-	+04	2026 Sep  1
			3:30	-	+0330
# Changes its abbreviation only.
Zone	Asia/Renamed	5:00	-	OLD	2026 Jun  1
			5:00	-	NEW
)";

inline constexpr std::string_view kTestZoneTab =
    "# comment line\n"
    "NO\t+5955+01045\tEurope/Nordby\n"
    "AU\t-3352+15113\tAustralia/Southam\tnew south wales\n"
    "CA\t+4734-05243\tAmerica/Port_Half\tnewfoundland\n"
    "CA\t+5000-11000\tAmerica/Plain_West\n"
    "EG\t+3003+03115\tAfrica/Nilby\n"
    "GL\t+6411-05144\tAmerica/Negby\n"
    "IN\t+2232+08822\tAsia/Plainpur\n"
    "SJ\t+7800+01600\tEurope/Old_Nordby\n";

inline constexpr std::string_view kTestCountryTab =
    "# code\tname\n"
    "AU\tAustralia\nCA\tCanada\nEG\tEgypt\nGL\tGreenland\nIN\tIndia\nNO\tNorway\n"
    "SJ\tSvalbard & Jan Mayen\nZZ\tNowhere\n";

// Compiles `source` with zic into a zoneinfo directory that also holds the
// source as tzdata.zi and the given tables.
inline std::filesystem::path CompileZones(const TempDir& dir, std::string_view source,
                                          std::string_view zoneTab = kTestZoneTab,
                                          std::string_view countryTab = kTestCountryTab) {
    const std::filesystem::path zoneinfo = dir.Path() / "zoneinfo";
    const std::filesystem::path sourceFile = dir.Write("zones.src", source);
    std::filesystem::create_directories(zoneinfo);
    const int status = RunProgram(OLVANTA_ZIC, {"-d", zoneinfo.string(), sourceFile.string()});
    EXPECT_EQ(status, 0) << "zic failed";
    dir.Write("zoneinfo/tzdata.zi", source);
    dir.Write("zoneinfo/zone.tab", zoneTab);
    dir.Write("zoneinfo/iso3166.tab", countryTab);
    return zoneinfo;
}
