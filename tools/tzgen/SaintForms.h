// The other ways people write a name that has "St", "St." or "Saint" as a
// word before another: "St. Louis" is also written "St Louis" and "Saint Louis".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tzgen {

// The name with each such word written as "St", as "St." and as "Saint", in
// that order, leaving out the one that is the name itself; nothing for a name
// without such a word. Only whole words count ("Stanley" and "Saint-Denis" have
// none), and a word at the end is no saint's title.
std::vector<std::string> SaintForms(std::string_view name);

}  // namespace tzgen
