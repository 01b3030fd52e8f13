// The text tables of a zoneinfo directory: which names are zones and which are
// links to them (tzdata.zi), which countries use which zones (zone.tab,
// zone1970.tab) and the countries' names (iso3166.tab).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tzsource {

struct ZoneIndex {
    std::string version;                       // "2025b", from the "# version" line; may be empty
    std::vector<std::string> zones;            // every Zone name, sorted
    std::map<std::string, std::string> links;  // alias -> the name it links to

    // The zone that `name` denotes after following links, or nothing when it
    // names neither a zone nor a link that ends in one.
    std::optional<std::string> Resolve(std::string_view name) const;
    bool IsZone(std::string_view name) const;
};

// Reads zic source text (tzdata.zi or the tz source files): the Zone and Link
// lines, their keywords in full or abbreviated. Other lines are ignored.
ZoneIndex ParseZoneIndex(std::string_view text);

struct ZoneTabEntry {
    std::vector<std::string> countryCodes;  // one in zone.tab, one or more in zone1970.tab
    std::string zone;
    std::string comment;  // may be empty
};

// Reads zone.tab or zone1970.tab. Lines that do not have the three leading
// columns are skipped.
std::vector<ZoneTabEntry> ParseZoneTab(std::string_view text);

// Reads iso3166.tab: country code -> name.
std::map<std::string, std::string> ParseCountryTab(std::string_view text);

// A whole text file; nothing when it cannot be read.
std::optional<std::string> ReadTextFile(const std::string& path);

// Splits `text` into lines (LF or CR LF).
std::vector<std::string_view> SplitLines(std::string_view text);

// Splits `line` at `separator`, keeping empty fields.
std::vector<std::string_view> SplitFields(std::string_view line, char separator);

// The tab-separated fields of every line of a table, leaving out empty lines
// and comment lines (those that begin with '#'), as tzdata's tables and ours
// in tools/data are written.
std::vector<std::vector<std::string_view>> TableRows(std::string_view text);

}  // namespace tzsource
