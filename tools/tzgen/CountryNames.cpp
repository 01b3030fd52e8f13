#include "tools/tzgen/CountryNames.h"

#include "tools/tzgen/DataFileText.h"
#include "tools/tzsource/TzdataTables.h"

namespace tzgen {

std::map<std::string, std::string> CountryNames(std::string_view iso3166Tab,
                                                std::string_view ourNames) {
    auto countries = tzsource::ParseCountryTab(iso3166Tab);
    for (const auto& [code, name] : tzsource::ParseCountryTab(ourNames)) {
        if (const auto found = countries.find(code); found != countries.end()) {
            found->second = CleanFieldText(name);
        }
    }
    return countries;
}

}  // namespace tzgen
