#include "tools/tzgen/CityDataset.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "tools/tzgen/DataFileText.h"
#include "tools/tzsource/TzdataTables.h"

namespace tzgen {
namespace {

// Columns of the GeoNames "cities" tables.
enum Column : std::size_t {
    kName = 1,
    kAsciiName = 2,
    kAlternateNames = 3,
    kLatitude = 4,
    kLongitude = 5,
    kFeatureClass = 6,
    kFeatureCode = 7,
    kCountry = 8,
    kAdmin1 = 10,
    kPopulation = 14,
    kTimezone = 17,
    kColumnCount = 18,
};

bool IsLivingCity(std::string_view featureClass, std::string_view featureCode) {
    // PPLX is a section of a city, PPLH/PPLQ/PPLW/PPLCH places of the past.
    static constexpr std::array<std::string_view, 5> kExcluded = {"PPLX", "PPLH", "PPLQ", "PPLW",
                                                                  "PPLCH"};
    return featureClass == "P" &&
           std::find(kExcluded.begin(), kExcluded.end(), featureCode) == kExcluded.end();
}

std::optional<std::int64_t> ParsePopulation(std::string_view text) {
    std::int64_t population = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), population);
    const bool whole = error == std::errc() && end == text.data() + text.size() && population >= 0;
    return whole ? std::optional(population) : std::nullopt;
}

double ParseDegrees(std::string_view text) {
    double degrees = 0;
    std::from_chars(text.data(), text.data() + text.size(), degrees);
    return degrees;
}

bool Matches(std::string_view pattern, std::string_view value) {
    return pattern == "*" || pattern == value;
}

}  // namespace

std::vector<City> ParseGeoNamesCities(std::string_view text, std::int64_t minimumPopulation) {
    std::vector<City> cities;
    for (std::string_view line : tzsource::SplitLines(text)) {
        const auto fields = tzsource::SplitFields(line, '\t');
        if (fields.size() < kColumnCount) {
            continue;
        }
        const std::optional<std::int64_t> population = ParsePopulation(fields[kPopulation]);
        if (!population || *population < minimumPopulation ||
            !IsLivingCity(fields[kFeatureClass], fields[kFeatureCode])) {
            continue;
        }
        City city{CleanFieldText(fields[kName]),       std::string(fields[kCountry]),
                  std::string(fields[kAdmin1]),        *population,
                  std::string(fields[kTimezone]),      CleanFieldText(fields[kAsciiName]),
                  ParseDegrees(fields[kLatitude]),     ParseDegrees(fields[kLongitude]),
                  std::string(fields[kAlternateNames])};
        if (!city.name.empty() && !city.countryCode.empty() && !city.zone.empty()) {
            cities.push_back(std::move(city));
        }
    }
    return cities;
}

bool HasAlternateName(const City& city, std::string_view name) {
    const auto names = tzsource::SplitFields(city.alternateNames, ',');
    return !name.empty() && std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<CityZoneFix> ParseCityZoneFixes(std::string_view text) {
    std::vector<CityZoneFix> fixes;
    for (const auto& fields : tzsource::TableRows(text)) {
        if (fields.size() >= 5 && !fields[3].empty() && !fields[4].empty()) {
            fixes.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                             std::string(fields[3]), std::string(fields[4])});
        }
    }
    return fixes;
}

std::size_t ApplyCityZoneFixes(std::vector<City>& cities, const std::vector<CityZoneFix>& fixes) {
    std::size_t moved = 0;
    for (City& city : cities) {
        for (const CityZoneFix& fix : fixes) {
            if (city.countryCode == fix.countryCode && Matches(fix.admin1, city.admin1) &&
                Matches(fix.name, city.name) && city.zone == fix.fromZone) {
                city.zone = fix.toZone;
                ++moved;
                break;
            }
        }
    }
    return moved;
}

}  // namespace tzgen
