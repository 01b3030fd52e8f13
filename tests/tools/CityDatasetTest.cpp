#include "tools/tzgen/CityDataset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One GeoNames line: id, name, ascii name, alternate names, latitude,
// longitude, feature class and code, country, cc2, admin1 to admin4,
// population, elevation, dem, timezone, modification date.
std::string GeoNamesLine(const std::string& name, const std::string& code,
                         const std::string& country, const std::string& admin1,
                         const std::string& population, const std::string& zone) {
    return "1\t" + name + "\t" + name + "\t\t0\t0\tP\t" + code + "\t" + country + "\t\t" + admin1 +
           "\t\t\t\t" + population + "\t\t0\t" + zone + "\t2013-01-01";
}

TEST(CityDataset, TakesLivingCitiesAboveThePopulationFloor) {
    const std::string text =
        GeoNamesLine("Saratov", "PPLA", "RU", "67", "863725", "Europe/Volgograd") + "\n" +
        GeoNamesLine("Small Town", "PPL", "RU", "67", "99999", "Europe/Volgograd") + "\n" +
        GeoNamesLine("Kreuzberg", "PPLX", "DE", "16", "147227", "Europe/Berlin") + "\n" +
        GeoNamesLine("Old City", "PPLH", "DE", "16", "500000", "Europe/Berlin") + "\n" +
        GeoNamesLine("Washington, D. C.", "PPLC", "US", "DC", "601723", "America/New_York") +
        "\r\n" + GeoNamesLine("No Zone", "PPL", "US", "DC", "601723", "") + "\n" +
        GeoNamesLine("Bad Count", "PPL", "US", "DC", "12x", "America/New_York") + "\n" +
        GeoNamesLine("\"Quoted\"", "PPL", "US", "DC", "100000", "America/New_York") + "\n" +
        "too\tfew\tcolumns\n\n";
    const std::vector<tzgen::City> cities = tzgen::ParseGeoNamesCities(text, 100000);
    ASSERT_EQ(cities.size(), 3u);
    EXPECT_EQ(cities[0].name, "Saratov");
    EXPECT_EQ(cities[0].admin1, "67");
    EXPECT_EQ(cities[0].population, 863725);
    EXPECT_EQ(cities[0].zone, "Europe/Volgograd");
    EXPECT_EQ(cities[1].name, "Washington, D. C.");
    EXPECT_EQ(cities[1].zone, "America/New_York");
    EXPECT_EQ(cities[2].name, "'Quoted'");
}

TEST(CityDataset, FixesMoveOnlyTheCitiesTheyMatch) {
    std::vector<tzgen::City> cities = {
        {"Saratov", "RU", "67", 1, "Europe/Volgograd"},
        {"Balakovo", "RU", "67", 1, "Europe/Volgograd"},
        {"Volgograd", "RU", "84", 1, "Europe/Volgograd"},
        {"Ciudad Juárez", "MX", "06", 1, "America/Ojinaga"},
        {"Ojinaga", "MX", "06", 1, "America/Ojinaga"},
        {"Other", "KZ", "67", 1, "Europe/Volgograd"},
    };
    const auto fixes = tzgen::ParseCityZoneFixes(
        "# comment\n"
        "RU\t67\t*\tEurope/Volgograd\tEurope/Saratov\n"
        "MX\t06\tCiudad Juárez\tAmerica/Ojinaga\tAmerica/Ciudad_Juarez\n"
        "incomplete\tline\n");
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_EQ(tzgen::ApplyCityZoneFixes(cities, fixes), 3u);
    const std::vector<std::string> expected = {"Europe/Saratov",   "Europe/Saratov",
                                               "Europe/Volgograd", "America/Ciudad_Juarez",
                                               "America/Ojinaga",  "Europe/Volgograd"};
    for (std::size_t i = 0; i < cities.size(); ++i) {
        EXPECT_EQ(cities[i].zone, expected[i]) << cities[i].name;
    }
}

}  // namespace
