#include "tools/tzgen/EnglishCities.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>

#include "tools/tzgen/DataFileText.h"
#include "tools/tzsource/TzdataTables.h"

namespace tzgen {
namespace {

// The two tables place a city's centre a little differently; towns further
// apart than this are different places.
constexpr double kMatchRadiusKm = 5.0;
// One table counts a city's people, the other often its whole urban area.
constexpr std::int64_t kPopulationFactor = 4;

enum Column : std::size_t {
    kName,
    kAsciiName,
    kLatitude,
    kLongitude,
    kCountry,
    kPopulation,
    kColumnCount,
};

std::optional<double> ParseNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = error == std::errc() && end == text.data() + text.size();
    return whole ? std::optional(value) : std::nullopt;
}

double DistanceKm(double latitude1, double longitude1, double latitude2, double longitude2) {
    constexpr double kEarthRadiusKm = 6371.0;
    constexpr double kRadians = std::numbers::pi / 180.0;
    const double halfLatitude = (latitude2 - latitude1) * kRadians / 2;
    const double halfLongitude = (longitude2 - longitude1) * kRadians / 2;
    const double h = std::sin(halfLatitude) * std::sin(halfLatitude) +
                     std::cos(latitude1 * kRadians) * std::cos(latitude2 * kRadians) *
                         std::sin(halfLongitude) * std::sin(halfLongitude);
    return 2 * kEarthRadiusKm * std::asin(std::sqrt(std::min(1.0, h)));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool SameName(const City& city, const EnglishCity& english) {
    for (std::string_view ours : {std::string_view(city.name), std::string_view(city.asciiName)}) {
        for (std::string_view theirs :
             {std::string_view(english.name), std::string_view(english.asciiName)}) {
            if (!ours.empty() && EqualIgnoringCase(ours, theirs)) {
                return true;
            }
        }
    }
    return false;
}

bool LikePopulation(std::int64_t a, std::int64_t b) {
    return a > 0 && b > 0 && std::max(a, b) <= kPopulationFactor * std::min(a, b);
}

struct Choice {
    double distanceKm = 0;
    std::size_t english = 0;
};

void KeepNearer(std::optional<Choice>& best, Choice candidate) {
    if (!best || candidate.distanceKm < best->distanceKm) {
        best = candidate;
    }
}

std::optional<Choice> ChooseEnglishCity(const City& city, const std::vector<std::size_t>& inCountry,
                                        const std::vector<EnglishCity>& english) {
    std::optional<Choice> sameName;
    std::optional<Choice> likePopulation;
    for (const std::size_t index : inCountry) {
        const EnglishCity& candidate = english[index];
        const double distance =
            DistanceKm(city.latitude, city.longitude, candidate.latitude, candidate.longitude);
        if (distance > kMatchRadiusKm) {
            continue;
        }
        if (SameName(city, candidate)) {
            KeepNearer(sameName, {distance, index});
        } else if (LikePopulation(city.population, candidate.population)) {
            KeepNearer(likePopulation, {distance, index});
        }
    }
    return sameName ? sameName : likePopulation;
}

}  // namespace

std::vector<EnglishCity> ParseEnglishCities(std::string_view text) {
    std::vector<EnglishCity> cities;
    for (std::string_view line : tzsource::SplitLines(text)) {
        const auto fields = tzsource::SplitFields(line, '\t');
        if (fields.size() < kColumnCount) {
            continue;
        }
        EnglishCity city{CleanFieldText(fields[kName]), CleanFieldText(fields[kAsciiName]),
                         std::string(fields[kCountry])};
        // Some counts are written with decimals ("108860.00").
        if (const auto population = ParseNumber(fields[kPopulation]);
            population && *population >= 0) {
            city.population = static_cast<std::int64_t>(*population);
        }
        const auto latitude = ParseNumber(fields[kLatitude]);
        const auto longitude = ParseNumber(fields[kLongitude]);
        if (!city.name.empty() && !city.countryCode.empty() && latitude && longitude) {
            city.latitude = *latitude;
            city.longitude = *longitude;
            cities.push_back(std::move(city));
        }
    }
    return cities;
}

std::vector<const EnglishCity*> MatchEnglishCities(const std::vector<City>& cities,
                                                   const std::vector<EnglishCity>& english) {
    std::map<std::string, std::vector<std::size_t>> byCountry;
    for (std::size_t i = 0; i < english.size(); ++i) {
        byCountry[english[i].countryCode].push_back(i);
    }
    std::vector<std::optional<Choice>> choices(cities.size());
    std::map<std::size_t, std::size_t> cityOfEnglish;  // the nearest city that chose it
    for (std::size_t i = 0; i < cities.size(); ++i) {
        const auto inCountry = byCountry.find(cities[i].countryCode);
        if (inCountry == byCountry.end()) {
            continue;
        }
        choices[i] = ChooseEnglishCity(cities[i], inCountry->second, english);
        if (!choices[i]) {
            continue;
        }
        const auto [taken, first] = cityOfEnglish.try_emplace(choices[i]->english, i);
        if (!first && choices[i]->distanceKm < choices[taken->second]->distanceKm) {
            taken->second = i;
        }
    }
    std::vector<const EnglishCity*> matches(cities.size(), nullptr);
    for (const auto& [englishIndex, cityIndex] : cityOfEnglish) {
        matches[cityIndex] = &english[englishIndex];
    }
    return matches;
}

}  // namespace tzgen
