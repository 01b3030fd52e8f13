#include "tools/tzgen/PlaceNames.h"

#include <algorithm>
#include <array>

#include "tools/tzgen/DataFileText.h"
#include "tools/tzsource/TzdataTables.h"

namespace tzgen {

Spellings ParseSpellings(std::string_view text) {
    Spellings spellings;
    for (const auto& fields : tzsource::TableRows(text)) {
        if (fields.size() >= 2 && !fields[0].empty()) {
            spellings[std::string(fields[0])] = CleanFieldText(fields[1]);
        }
    }
    return spellings;
}

bool InGeographicArea(std::string_view identifier) {
    static constexpr std::array<std::string_view, 10> kAreas = {
        "Africa/",   "America/",   "Antarctica/", "Arctic/", "Asia/",
        "Atlantic/", "Australia/", "Europe/",     "Indian/", "Pacific/"};
    return std::any_of(kAreas.begin(), kAreas.end(), [identifier](std::string_view area) {
        return identifier.substr(0, area.size()) == area && identifier.size() > area.size();
    });
}

std::optional<std::string> PlaceNameOf(std::string_view identifier, const Spellings& spellings) {
    if (const auto listed = spellings.find(identifier); listed != spellings.end()) {
        if (listed->second.empty()) {
            return std::nullopt;
        }
        return listed->second;
    }
    if (!InGeographicArea(identifier)) {
        return std::nullopt;
    }
    std::string name(identifier.substr(identifier.rfind('/') + 1));
    std::replace(name.begin(), name.end(), '_', ' ');
    name = CleanFieldText(name);
    if (name.empty()) {
        return std::nullopt;
    }
    return name;
}

}  // namespace tzgen
