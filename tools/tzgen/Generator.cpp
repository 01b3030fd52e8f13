#include "tools/tzgen/Generator.h"

#include <algorithm>
#include <map>
#include <set>

#include "tools/tzgen/CityDataset.h"
#include "tools/tzgen/CountryNames.h"
#include "tools/tzgen/DataFileText.h"
#include "tools/tzgen/EnglishCities.h"
#include "tools/tzgen/ListedCityNames.h"
#include "tools/tzgen/PlaceForming.h"
#include "tools/tzgen/PlaceNames.h"
#include "tools/tzgen/SaintForms.h"
#include "tools/tzgen/UnaccentedForm.h"
#include "tools/tzgen/ZoneLines.h"
#include "tools/tzsource/TzdataTables.h"
#include "tools/tzsource/ZoneHistory.h"

namespace tzgen {
namespace {

using tzsource::ZoneIndex;

struct Tables {
    ZoneIndex index;
    std::vector<tzsource::ZoneTabEntry> zoneTab;
    std::vector<tzsource::ZoneTabEntry> zone1970Tab;
    std::map<std::string, std::string> countries;
};

std::string Require(const std::string& path) {
    auto text = tzsource::ReadTextFile(path);
    if (!text) {
        throw GeneratorError("cannot read " + path);
    }
    return std::move(*text);
}

Tables ReadTables(const std::string& directory, std::string_view countryNames) {
    Tables tables;
    tables.index = tzsource::ParseZoneIndex(Require(directory + "/tzdata.zi"));
    tables.zoneTab = tzsource::ParseZoneTab(Require(directory + "/zone.tab"));
    tables.countries = CountryNames(Require(directory + "/iso3166.tab"), countryNames);
    if (auto text = tzsource::ReadTextFile(directory + "/zone1970.tab")) {
        tables.zone1970Tab = tzsource::ParseZoneTab(*text);
    }
    return tables;
}

// Where a zone lies: its country in zone.tab (which names each zone once,
// for the country it serves first), else the first of zone1970.tab.
struct Whereabouts {
    std::string countryCode;
    std::string comment;
};

std::map<std::string, Whereabouts> ZoneWhereabouts(const Tables& tables) {
    std::map<std::string, Whereabouts> where;
    for (const auto* tab : {&tables.zoneTab, &tables.zone1970Tab}) {
        for (const tzsource::ZoneTabEntry& entry : *tab) {
            where.emplace(entry.zone, Whereabouts{entry.countryCodes.front(), entry.comment});
        }
    }
    return where;
}

std::string CountryName(const Tables& tables, const std::string& code) {
    const auto found = tables.countries.find(code);
    return found == tables.countries.end() ? std::string() : found->second;
}

class PlaceCollector {
public:
    PlaceCollector(const Tables& tables, const Spellings& spellings)
        : m_tables(tables), m_spellings(spellings), m_where(ZoneWhereabouts(tables)) {}

    void AddZoneCities(const std::vector<std::string>& zones) {
        for (const std::string& zone : zones) {
            AddIdentifierPlace(zone, CountryOf(zone));
        }
        // zone.tab may name a link (a country's own identifier kept as an alias).
        for (const tzsource::ZoneTabEntry& entry : m_tables.zoneTab) {
            AddIdentifierPlace(entry.zone, entry.countryCodes.front());
        }
    }

    void AddLinks() {
        for (const auto& [alias, target] : m_tables.index.links) {
            const bool listed = m_spellings.find(alias) != m_spellings.end();
            if (InGeographicArea(alias) || listed) {
                AddIdentifierPlace(alias, CountryOf(alias));
            }
        }
    }

    void AddCountries() {
        std::map<std::string, std::vector<std::string>> zonesOfCountry;
        for (const auto* tab : {&m_tables.zoneTab, &m_tables.zone1970Tab}) {
            for (const tzsource::ZoneTabEntry& entry : *tab) {
                for (const std::string& code : entry.countryCodes) {
                    auto& zones = zonesOfCountry[code];
                    // zone1970.tab only fills in countries that zone.tab lacks.
                    if (tab == &m_tables.zoneTab || m_zoneTabCountries.count(code) == 0) {
                        zones.push_back(entry.zone);
                    }
                }
                if (tab == &m_tables.zoneTab) {
                    m_zoneTabCountries.insert(entry.countryCodes.begin(), entry.countryCodes.end());
                }
            }
        }
        for (const auto& [code, name] : m_tables.countries) {
            const auto zones = zonesOfCountry.find(code);
            if (zones == zonesOfCountry.end() || zones->second.empty()) {
                m_report.push_back("country without a zone: " + code + " " + name);
                continue;
            }
            for (const std::string& zone : zones->second) {
                const auto city = PlaceNameOf(zone, m_spellings);
                const bool several = zones->second.size() > 1;
                Add(several && city ? std::optional(name + " (" + *city + ")") : name, zone, code);
            }
        }
    }

    // `english` holds, for each city, its English namesake or null; `listed`,
    // the names of our list that it has.
    void AddCities(const std::vector<City>& cities, const std::vector<const EnglishCity*>& english,
                   const ListedNamesOfCities& listed) {
        std::size_t unknown = 0;
        for (std::size_t i = 0; i < cities.size(); ++i) {
            const City& city = cities[i];
            if (!m_tables.index.Resolve(city.zone)) {
                ++unknown;
                continue;
            }
            Add(city.name, city.zone, city.countryCode);
            // A name with marks is a local spelling, not an English one.
            if (english[i] != nullptr && IsAscii(english[i]->name)) {
                Add(english[i]->name, city.zone, city.countryCode, NameKind::kEnglish);
            }
            for (const std::string* plain :
                 {&city.asciiName, english[i] ? &english[i]->asciiName : nullptr}) {
                if (plain != nullptr && IsUnaccentedForm(city.name, *plain)) {
                    Add(*plain, city.zone, city.countryCode, NameKind::kUnaccented);
                    break;
                }
            }
            for (const ListedCityName* name : listed.ofCity[i]) {
                Add(name->name, city.zone, city.countryCode, name->kind);
            }
        }
        if (unknown > 0) {
            m_report.push_back(std::to_string(unknown) + " cities with an unknown zone left out");
        }
    }

    const std::vector<PlaceCandidate>& Candidates() const { return m_candidates; }
    std::vector<std::string> TakeReport() { return std::move(m_report); }

private:
    std::string CountryOf(const std::string& identifier) const {
        for (const std::string& name :
             {identifier, m_tables.index.Resolve(identifier).value_or("")}) {
            if (const auto found = m_where.find(name); found != m_where.end()) {
                return found->second.countryCode;
            }
        }
        return std::string();
    }

    void AddIdentifierPlace(const std::string& identifier, const std::string& countryCode) {
        const auto name = PlaceNameOf(identifier, m_spellings);
        Add(name, identifier, countryCode);
        // Where a spelling puts the marks in ("Zürich"), the identifier is
        // how people type it ("Zurich").
        const auto plain = PlaceNameOf(identifier, Spellings());
        if (name && plain && IsUnaccentedForm(*name, *plain)) {
            Add(plain, identifier, countryCode, NameKind::kUnaccented);
        }
    }

    void Add(const std::optional<std::string>& name, const std::string& identifier,
             const std::string& countryCode, NameKind kind = NameKind::kOwn) {
        const auto zone = m_tables.index.Resolve(identifier);
        if (!name || name->empty() || !zone) {
            return;
        }
        const PlaceCandidate candidate{*name,
                                       *zone,
                                       countryCode,
                                       CountryName(m_tables, countryCode),
                                       PlaceNameOf(*zone, m_spellings).value_or(""),
                                       kind};
        m_candidates.push_back(candidate);
        // Our list's names are written as people write them already.
        if (kind == NameKind::kOwn || kind == NameKind::kEnglish || kind == NameKind::kUnaccented) {
            for (std::string& form : SaintForms(candidate.name)) {
                m_candidates.push_back(candidate);
                m_candidates.back().name = std::move(form);
                m_candidates.back().kind = NameKind::kSaintForm;
            }
        }
    }

    const Tables& m_tables;
    const Spellings& m_spellings;
    std::map<std::string, Whereabouts> m_where;
    std::set<std::string> m_zoneTabCountries;
    std::vector<PlaceCandidate> m_candidates;
    std::vector<std::string> m_report;
};

}  // namespace

GeneratedData Generate(const GeneratorInput& input) {
    const Tables tables = ReadTables(input.zoneinfoDirectory, input.countryNamesText);
    const Spellings spellings = ParseSpellings(input.spellingsText);
    GeneratedData data;
    data.tzdataVersion = tables.index.version;

    std::vector<std::string> readable;
    for (const std::string& name : tables.index.zones) {
        if (tzsource::ZoneHistory::Load(std::filesystem::path(input.zoneinfoDirectory) / name)) {
            readable.push_back(name);
        } else {
            data.report.push_back("zone left out: cannot read " + name);
        }
    }

    PlaceCollector collector(tables, spellings);
    collector.AddZoneCities(readable);
    collector.AddCountries();
    collector.AddLinks();
    if (input.citiesText) {
        std::vector<City> cities = ParseGeoNamesCities(*input.citiesText, input.minimumPopulation);
        const std::size_t moved =
            ApplyCityZoneFixes(cities, ParseCityZoneFixes(input.cityZoneFixesText));
        data.report.push_back(std::to_string(cities.size()) + " cities taken, " +
                              std::to_string(moved) + " moved to a newer zone");
        std::vector<const EnglishCity*> english(cities.size(), nullptr);
        const std::vector<EnglishCity> englishCities =
            ParseEnglishCities(input.englishCitiesText.value_or(""));
        if (input.englishCitiesText) {
            english = MatchEnglishCities(cities, englishCities);
            data.report.push_back(
                std::to_string(std::count_if(english.begin(), english.end(),
                                             [](const EnglishCity* city) { return city; })) +
                " of them matched to one of " + std::to_string(englishCities.size()) +
                " English-named cities");
        }
        const std::vector<ListedCityName> listedNames = ParseListedCityNames(input.cityNamesText);
        const ListedNamesOfCities listed = MatchListedCityNames(cities, listedNames);
        for (const ListedCityName* name : listed.notTaken) {
            data.report.push_back(
                "listed name not taken (no such city, or not one of its names): " +
                name->countryCode + " " + name->city + " " + name->name);
        }
        data.report.push_back(std::to_string(listedNames.size() - listed.notTaken.size()) + " of " +
                              std::to_string(listedNames.size()) + " listed city names taken");
        collector.AddCities(cities, english, listed);
    }
    const std::set<std::string> known(readable.begin(), readable.end());
    const std::vector<Place> places = FormPlaces(collector.Candidates());
    std::set<std::string> named;
    for (const Place& place : places) {
        if (known.count(place.zone) != 0) {
            named.insert(place.zone);
        }
    }
    ZoneLines zones =
        MakeZoneLines(input.zoneinfoDirectory, std::vector<std::string>(named.begin(), named.end()),
                      input.window, input.countryNamesText);
    for (const auto& [name, line] : zones.lines) {
        data.zoneFile += line + "\n";
    }
    data.zoneCount = zones.lines.size();
    data.report.insert(data.report.end(), zones.report.begin(), zones.report.end());
    for (const Place& place : places) {
        if (zones.lines.count(place.zone) == 0) {
            continue;  // never bind a place to a zone the zone file lacks
        }
        data.locationsFile += LocationLine(place.zone, place.name) + "\n";
        ++data.placeCount;
        data.englishNameCount += place.kind == NameKind::kEnglish ? 1 : 0;
        data.unaccentedNameCount += place.kind == NameKind::kUnaccented ? 1 : 0;
        data.formerNameCount += place.kind == NameKind::kFormer ? 1 : 0;
        data.listedEnglishNameCount += place.kind == NameKind::kListedEnglish ? 1 : 0;
        data.saintFormCount += place.kind == NameKind::kSaintForm ? 1 : 0;
    }
    for (std::string& line : collector.TakeReport()) {
        data.report.push_back(std::move(line));
    }
    return data;
}

}  // namespace tzgen
