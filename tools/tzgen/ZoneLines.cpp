#include "tools/tzgen/ZoneLines.h"

#include <map>
#include <optional>

#include "platform/GccRestrictFalsePositive.h"
#include "tools/tzgen/CountryNames.h"
#include "tools/tzgen/DataFileText.h"
#include "tools/tzsource/DateText.h"
#include "tools/tzsource/TzdataTables.h"

namespace tzgen {
namespace {

// Each zone's country, named as people write it, and comment as zone.tab
// gives them (it names each zone once, for the country it serves first), else
// the first of zone1970.tab.
std::map<std::string, std::string> ZoneRegions(const std::filesystem::path& directory,
                                               std::string_view ourCountryNames) {
    const std::map<std::string, std::string> countries = CountryNames(
        tzsource::ReadTextFile((directory / "iso3166.tab").string()).value_or(""), ourCountryNames);
    std::map<std::string, std::string> regions;
    for (const char* table : {"zone.tab", "zone1970.tab"}) {
        const auto text = tzsource::ReadTextFile((directory / table).string());
        for (const tzsource::ZoneTabEntry& entry : tzsource::ParseZoneTab(text.value_or(""))) {
            const auto country = countries.find(entry.countryCodes.front());
            std::string region = country == countries.end() ? std::string() : country->second;
            if (!entry.comment.empty()) {
                region += " - " + entry.comment;
            }
            regions.emplace(entry.zone, region);
        }
    }
    return regions;
}

std::string TzdataVersion(const std::filesystem::path& directory) {
    const auto index = tzsource::ReadTextFile((directory / "tzdata.zi").string());
    const std::string version = index ? tzsource::ParseZoneIndex(*index).version : "";
    return version.empty() ? "unknown" : version;
}

std::string Label(const EncodedZone& zone, const std::string& region) {
    std::string label = OffsetText(zone.standard.bias * 60);
    if (zone.daylight.bias != 0) {
        // g++ 12 at -O3 takes this string copy for an overlapping one.
        OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN
        label += "/" + OffsetText((zone.standard.bias + zone.daylight.bias) * 60).substr(3);
        OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END
    }
    return region.empty() ? label : label + " " + region;
}

}  // namespace

std::string OffsetText(std::int32_t seconds) {
    const char sign = seconds < 0 ? '-' : '+';
    const std::int32_t minutes = (seconds < 0 ? -seconds : seconds) / 60;
    const auto two = [](std::int32_t value) {
        return std::string(value < 10 ? "0" : "") + std::to_string(value);
    };
    return std::string("UTC") + sign + two(minutes / 60) + ":" + two(minutes % 60);
}

bool IsZoneFileName(const std::string& name) {
    const std::filesystem::path path(name);
    if (name.empty() || !path.is_relative()) {
        return false;
    }
    for (const std::filesystem::path& part : path) {
        if (part.empty() || part == "." || part == "..") {
            return false;
        }
    }
    return name.back() != '/';
}

ZoneLines MakeZoneLines(const std::filesystem::path& zoneinfoDirectory,
                        const std::vector<std::string>& zones, const RuleWindow& window,
                        std::string_view ourCountryNames) {
    ZoneLines lines;
    lines.tzdataVersion = TzdataVersion(zoneinfoDirectory);
    const std::map<std::string, std::string> regions =
        ZoneRegions(zoneinfoDirectory, ourCountryNames);
    const std::string windowText = tzsource::DateText(window.start) + " to " +
                                   tzsource::DateText(window.end) + " from tzdata " +
                                   lines.tzdataVersion;
    for (const std::string& name : zones) {
        const std::optional<tzsource::ZoneHistory> history =
            IsZoneFileName(name) ? tzsource::ZoneHistory::Load(zoneinfoDirectory / name)
                                 : std::nullopt;
        if (!history) {
            lines.unreadable.push_back(name);
            continue;
        }
        const EncodedZone zone = EncodeZone(*history, window);
        std::string notes;
        for (const std::string& note : zone.notes) {
            notes += "; " + note;
        }
        if (!notes.empty()) {
            lines.report.push_back(name + notes);
        }
        const auto region = regions.find(name);
        const std::string label =
            Label(zone, region == regions.end() ? std::string() : region->second);
        lines.lines[name] = ZoneLine(CleanFieldText(name), CleanFieldText(label),
                                     CleanFieldText(windowText + notes), zone);
    }
    return lines;
}

}  // namespace tzgen
