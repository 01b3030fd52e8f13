// The names of countries in place names and zone labels: tzdata's
// iso3166.tab, with ours (tools/data/country-names.tsv, built in) where it
// shortens a name or puts a parenthesis in it ("Britain (UK)" would nest in
// "London (Britain (UK))").
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace tzgen {

// tools/data/country-names.tsv as it was when the tools were built.
extern const std::string_view kOurCountryNames;

// Country code -> name: `iso3166Tab`'s, with `ourNames` (the same format)
// for the codes both have.
std::map<std::string, std::string> CountryNames(std::string_view iso3166Tab,
                                                std::string_view ourNames = kOurCountryNames);

}  // namespace tzgen
