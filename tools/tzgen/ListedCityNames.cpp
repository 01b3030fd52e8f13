#include "tools/tzgen/ListedCityNames.h"

#include <map>
#include <optional>
#include <utility>

#include "tools/tzgen/DataFileText.h"
#include "tools/tzsource/TzdataTables.h"

namespace tzgen {
namespace {

std::optional<NameKind> ParseKind(std::string_view text) {
    if (text == "former") {
        return NameKind::kFormer;
    }
    if (text == "English") {
        return NameKind::kListedEnglish;
    }
    return std::nullopt;
}

}  // namespace

std::vector<ListedCityName> ParseListedCityNames(std::string_view text) {
    std::vector<ListedCityName> names;
    for (const auto& fields : tzsource::TableRows(text)) {
        if (fields.size() < 4) {
            continue;
        }
        const auto kind = ParseKind(fields[3]);
        ListedCityName name{std::string(fields[0]), CleanFieldText(fields[1]),
                            CleanFieldText(fields[2])};
        if (kind && !name.countryCode.empty() && !name.city.empty() && !name.name.empty()) {
            name.kind = *kind;
            names.push_back(std::move(name));
        }
    }
    return names;
}

ListedNamesOfCities MatchListedCityNames(const std::vector<City>& cities,
                                         const std::vector<ListedCityName>& names) {
    std::map<std::pair<std::string, std::string>, std::vector<std::size_t>> citiesByName;
    for (std::size_t i = 0; i < cities.size(); ++i) {
        citiesByName[{cities[i].countryCode, cities[i].name}].push_back(i);
    }
    ListedNamesOfCities matched;
    matched.ofCity.resize(cities.size());
    for (const ListedCityName& name : names) {
        bool taken = false;
        if (const auto found = citiesByName.find({name.countryCode, name.city});
            found != citiesByName.end()) {
            for (const std::size_t city : found->second) {
                if (HasAlternateName(cities[city], name.name)) {
                    matched.ofCity[city].push_back(&name);
                    taken = true;
                }
            }
        }
        if (!taken) {
            matched.notTaken.push_back(&name);
        }
    }
    return matched;
}

}  // namespace tzgen
