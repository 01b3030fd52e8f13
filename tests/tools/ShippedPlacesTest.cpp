// The committed place list, as regenerating it made it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "catalogue/FieldReader.h"
#include "tools/tzsource/TzdataTables.h"

namespace {

TEST(ShippedPlaces, AnswerToTheNamesPeopleUseWithOneParenthesisAtMost) {
    const auto text = tzsource::ReadTextFile(OLVANTA_SHIPPED_LOCATIONS);
    ASSERT_TRUE(text);
    std::map<std::string, std::string> zoneOfPlace;
    for (std::string_view line : tzsource::SplitLines(*text)) {
        std::string_view zone;
        std::string_view place;
        ASSERT_TRUE(ParseLocationLine(line, zone, place)) << line;
        EXPECT_LE(std::count(place.begin(), place.end(), '('), 1) << place;
        zoneOfPlace.emplace(place, zone);
    }
    const std::map<std::string, std::string> expected = {
        {"Bombay", "Asia/Kolkata"},
        {"Peking", "Asia/Shanghai"},
        {"St Petersburg (Russia)", "Europe/Moscow"},
        {"Saint Louis", "America/Chicago"},
        {"United Kingdom", "Europe/London"},
        {"London (United Kingdom)", "Europe/London"},
    };
    for (const auto& [place, zone] : expected) {
        const auto found = zoneOfPlace.find(place);
        ASSERT_NE(found, zoneOfPlace.end()) << place;
        EXPECT_EQ(found->second, zone) << place;
    }
}

}  // namespace
