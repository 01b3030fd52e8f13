#include "tools/tzgen/UnaccentedForm.h"

#include <algorithm>
#include <cctype>

namespace tzgen {
namespace {

bool IsAsciiByte(char c) {
    return (static_cast<unsigned char>(c) & 0x80) == 0;
}

// Bytes of the UTF-8 character that begins with `lead`; 0 for a byte that
// cannot begin one.
std::size_t CharacterLength(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    if ((byte & 0xE0) == 0xC0) {
        return 2;
    }
    if ((byte & 0xF0) == 0xE0) {
        return 3;
    }
    if ((byte & 0xF8) == 0xF0) {
        return 4;
    }
    return 0;
}

}  // namespace

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsAsciiByte);
}

bool IsUnaccentedForm(std::string_view name, std::string_view plain) {
    if (plain.empty() || plain == name || !IsAscii(plain)) {
        return false;
    }
    std::size_t at = 0;
    for (const char c : plain) {
        if (at >= name.size()) {
            return false;
        }
        if (IsAsciiByte(name[at])) {
            if (name[at] != c) {
                return false;
            }
            ++at;
            continue;
        }
        const std::size_t length = CharacterLength(name[at]);
        if (length == 0 || at + length > name.size() ||
            !std::isgraph(static_cast<unsigned char>(c))) {
            return false;
        }
        at += length;
    }
    return at == name.size();
}

}  // namespace tzgen
