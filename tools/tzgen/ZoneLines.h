// The zone file's lines for named zones of a zoneinfo directory: each zone's
// rules for one window of twelve months, its offsets and region as the label,
// and the window, the tzdata version and any approximation as the remark.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tzgen/CountryNames.h"
#include "tools/tzgen/ZoneRuleEncoder.h"

namespace tzgen {

struct ZoneLines {
    std::map<std::string, std::string> lines;  // zone name -> its line, without LF
    std::string tzdataVersion;                 // from tzdata.zi, "unknown" where it does not say
    std::vector<std::string> unreadable;       // names the directory has no readable zone for
    // The zones whose rules depart from the database or hold for this window
    // alone, each with its notes, for the person running the tool.
    std::vector<std::string> report;
};

// Regions come from zone.tab, zone1970.tab and iso3166.tab where the
// directory has them, the countries named as `ourCountryNames` says where it
// names them (see CountryNames.h); without those tables a label holds the
// offsets alone.
ZoneLines MakeZoneLines(const std::filesystem::path& zoneinfoDirectory,
                        const std::vector<std::string>& zones, const RuleWindow& window,
                        std::string_view ourCountryNames = kOurCountryNames);

// "UTC+05:30", "UTC-03:00", "UTC+00:00" (seconds dropped).
std::string OffsetText(std::int32_t seconds);

// Whether `name` may be looked up as a file below a zoneinfo directory: a
// relative path without empty, "." or ".." parts.
bool IsZoneFileName(const std::string& name);

}  // namespace tzgen
