// Former and English names of well-known cities from our own list
// (tools/data/city-names.tsv), each taken for a city only where the city
// dataset lists it among that city's other names, so that the dataset stays
// the names' source and a slip in the list adds no name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/tzgen/CityDataset.h"
#include "tools/tzgen/PlaceForming.h"

namespace tzgen {

struct ListedCityName {
    std::string countryCode;
    std::string city;                   // as the city dataset names it
    std::string name;                   // "Bombay"
    NameKind kind = NameKind::kFormer;  // or kListedEnglish
};

// Reads "country<TAB>city<TAB>name<TAB>kind" lines, the kind "former" or
// "English"; '#' starts a comment. Lines without all four are left out.
std::vector<ListedCityName> ParseListedCityNames(std::string_view text);

struct ListedNamesOfCities {
    std::vector<std::vector<const ListedCityName*>> ofCity;  // for each city, in list order
    std::vector<const ListedCityName*> notTaken;  // no such city, or not one of its names
};

// Gives each listed name to the cities of its country and name whose other
// names hold it.
ListedNamesOfCities MatchListedCityNames(const std::vector<City>& cities,
                                         const std::vector<ListedCityName>& names);

}  // namespace tzgen
