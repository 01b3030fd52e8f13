// Remaking the zone file from a zoneinfo directory for the zones that a
// locations file names, with no other input: what runs at build, at install
// and after every tzdata update.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/tzgen/ZoneRuleEncoder.h"

namespace tzgen {

struct RefreshInput {
    std::filesystem::path zoneinfoDirectory = "/usr/share/zoneinfo";
    std::string locationsText;     // the locations file
    std::string previousZoneFile;  // the zone file being replaced; empty when there is none
    RuleWindow window;
};

struct RefreshedZoneFile {
    std::string text;  // sorted by zone name, LF ends
    std::string tzdataVersion;
    std::size_t zonesMade = 0;
    // Lines of the previous zone file for zones the directory does not have
    // (zones of one's own): kept, so that a refresh never loses them.
    std::size_t zonesKept = 0;
    // Zones the locations file names that neither the directory nor the
    // previous file has: their places count as UTC.
    std::vector<std::string> missing;
    // For the person running it: the zones kept and the zones whose rules
    // depart from the database, each with its notes.
    std::vector<std::string> report;
};

// Nothing when the locations file names zones and the directory has none of
// them (it is missing or holds no zoneinfo): a file of placeholders would
// serve worse than the one it replaces.
std::optional<RefreshedZoneFile> RefreshZoneFile(const RefreshInput& input);

// The start of the window for a zone file made now: the day of
// SOURCE_DATE_EPOCH when it is set to a number of seconds (reproducible
// builds), else today (UTC). Nothing for a SOURCE_DATE_EPOCH that is no
// such number.
std::optional<std::chrono::sys_days> WindowStartNow();

}  // namespace tzgen
