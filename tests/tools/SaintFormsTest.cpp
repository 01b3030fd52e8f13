#include "tools/tzgen/SaintForms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SaintForms, WritesEachSaintsTitleTheOtherWays) {
    const struct {
        const char* name;
        std::vector<std::string> forms;
    } cases[] = {
        {"St. Louis", {"St Louis", "Saint Louis"}},
        {"Saint Petersburg", {"St Petersburg", "St. Petersburg"}},
        {"Port St Lucie", {"Port St. Lucie", "Port Saint Lucie"}},
        {"St. Kitts & St Nevis",
         {"St Kitts & St Nevis", "St. Kitts & St. Nevis", "Saint Kitts & Saint Nevis"}},
        {"Stanley", {}},
        {"Saint-Denis", {}},
        {"Rue St", {}},
        {"St.Louis", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tzgen::SaintForms(c.name), c.forms) << c.name;
    }
}

}  // namespace
