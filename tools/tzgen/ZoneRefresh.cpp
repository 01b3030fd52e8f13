#include "tools/tzgen/ZoneRefresh.h"

#include <charconv>
#include <cstdlib>
#include <map>
#include <set>
#include <string_view>

#include "catalogue/FieldReader.h"
#include "catalogue/TimeZone.h"
#include "tools/tzgen/ZoneLines.h"
#include "tools/tzsource/TzdataTables.h"

namespace tzgen {
namespace {

// The program's reader ends a data file at Ctrl-Z; so does this one.
std::vector<std::string_view> TextLines(std::string_view text) {
    return tzsource::SplitLines(text.substr(0, text.find('\x1A')));
}

std::set<std::string> ZonesNamed(std::string_view locationsText) {
    std::set<std::string> zones;
    for (std::string_view line : TextLines(locationsText)) {
        std::string_view zone;
        std::string_view place;
        if (ParseLocationLine(line, zone, place)) {
            zones.emplace(zone);
        }
    }
    return zones;
}

}  // namespace

std::optional<RefreshedZoneFile> RefreshZoneFile(const RefreshInput& input) {
    const std::set<std::string> named = ZonesNamed(input.locationsText);
    ZoneLines made =
        MakeZoneLines(input.zoneinfoDirectory, std::vector<std::string>(named.begin(), named.end()),
                      input.window);
    if (!named.empty() && made.lines.empty()) {
        return std::nullopt;
    }
    RefreshedZoneFile file;
    file.tzdataVersion = made.tzdataVersion;
    file.zonesMade = made.lines.size();
    std::map<std::string, std::string> lines = std::move(made.lines);
    std::set<std::string> kept;
    for (std::string_view line : TextLines(input.previousZoneFile)) {
        const std::string name = CTimeZone(line).m_strName;
        // The first line of a name is the one the program reads.
        if (name.empty() || lines.count(name) != 0 ||
            (IsZoneFileName(name) && tzsource::ZoneHistory::Load(input.zoneinfoDirectory / name))) {
            continue;
        }
        lines.emplace(name, line);
        kept.insert(name);
        file.report.push_back("kept from the previous zone file: " + name);
    }
    file.zonesKept = kept.size();
    for (const std::string& name : made.unreadable) {
        if (kept.count(name) == 0) {
            file.missing.push_back(name);
        }
    }
    file.report.insert(file.report.end(), made.report.begin(), made.report.end());
    for (const auto& [name, line] : lines) {
        file.text += line + "\n";
    }
    return file;
}

std::optional<std::chrono::sys_days> WindowStartNow() {
    using namespace std::chrono;
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch == nullptr || *epoch == '\0') {
        return floor<days>(system_clock::now());
    }
    const std::string_view text(epoch);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return floor<days>(sys_seconds(seconds(value)));
}

}  // namespace tzgen
