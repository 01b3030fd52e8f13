#include "tools/tzgen/SaintForms.h"

#include <algorithm>
#include <array>

#include "tools/tzsource/TzdataTables.h"

namespace tzgen {

std::vector<std::string> SaintForms(std::string_view name) {
    static constexpr std::array<std::string_view, 3> kForms = {"St", "St.", "Saint"};
    const std::vector<std::string_view> words = tzsource::SplitFields(name, ' ');
    std::vector<bool> isTitle(words.size(), false);
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        isTitle[i] = std::find(kForms.begin(), kForms.end(), words[i]) != kForms.end();
    }
    if (std::find(isTitle.begin(), isTitle.end(), true) == isTitle.end()) {
        return {};
    }
    std::vector<std::string> forms;
    for (const std::string_view form : kForms) {
        std::string written;
        for (std::size_t i = 0; i < words.size(); ++i) {
            written += i == 0 ? "" : " ";
            written += isTitle[i] ? form : words[i];
        }
        if (written != name) {
            forms.push_back(std::move(written));
        }
    }
    return forms;
}

}  // namespace tzgen
