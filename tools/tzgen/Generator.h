// Makes the text of the zone file and the locations file from a zoneinfo
// directory, the place spellings, the country names and, optionally, a city
// dataset with the former and English names of its cities.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/tzgen/CountryNames.h"
#include "tools/tzgen/ZoneRuleEncoder.h"

namespace tzgen {

struct GeneratorInput {
    std::string zoneinfoDirectory = "/usr/share/zoneinfo";
    RuleWindow window;
    std::string spellingsText;                       // place-spellings.tsv
    std::string countryNamesText{kOurCountryNames};  // country-names.tsv
    std::optional<std::string> citiesText;           // a GeoNames cities table
    // The English names of cities (see EnglishCities.h); used with citiesText.
    std::optional<std::string> englishCitiesText;
    std::string cityZoneFixesText;            // city-zone-fixes.tsv
    std::string cityNamesText;                // city-names.tsv; used with citiesText
    std::int64_t minimumPopulation = 100000;  // of the cities taken
};

struct GeneratedData {
    std::string zoneFile;       // one line per zone that has places, LF ends, sorted by name
    std::string locationsFile;  // one line per place, LF ends, sorted by name
    std::string tzdataVersion;
    std::size_t zoneCount = 0;
    std::size_t placeCount = 0;
    std::size_t englishNameCount = 0;        // of the places, names in English
    std::size_t unaccentedNameCount = 0;     // of the places, names without marks
    std::size_t formerNameCount = 0;         // of the places, former names of cities
    std::size_t listedEnglishNameCount = 0;  // of the places, English names from our list
    std::size_t saintFormCount = 0;          // of the places, "St"/"St."/"Saint" forms
    // What the run left out or approximated, one line each, for the person
    // running it.
    std::vector<std::string> report;
};

class GeneratorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws GeneratorError when a required table of the zoneinfo directory
// (tzdata.zi, zone.tab, iso3166.tab) cannot be read. A zone whose compiled
// file cannot be read is reported and left out with its places. The zone
// file holds the lines that the zone refresh makes for the places formed.
GeneratedData Generate(const GeneratorInput& input);

}  // namespace tzgen
