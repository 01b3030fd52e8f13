// The English names of the world's cities (the SimpleMaps world cities table,
// as tools/fetch-english-cities writes it) and which GeoNames city each names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tzgen/CityDataset.h"

namespace tzgen {

struct EnglishCity {
    std::string name;  // "Munich"
    std::string asciiName;
    std::string countryCode;
    double latitude = 0;
    double longitude = 0;
    std::int64_t population = 0;  // 0 when the table gives none
};

// Reads "name<TAB>ASCII name<TAB>latitude<TAB>longitude<TAB>country<TAB>
// population" lines; lines without a name, a country or a position are left out.
std::vector<EnglishCity> ParseEnglishCities(std::string_view text);

// For each city, the English city that is the same place, or null. A name
// alone would mislead (there are Naples in Italy and in Florida), so the match
// lies in the same country within a few kilometres: a city of the same name
// there, else the nearest one of a like population. An English city matches
// one city at most, its nearest.
std::vector<const EnglishCity*> MatchEnglishCities(const std::vector<City>& cities,
                                                   const std::vector<EnglishCity>& english);

}  // namespace tzgen
