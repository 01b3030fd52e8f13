#include "catalogue/StringArrayPlus.h"

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <stdexcept>

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

unsigned char AsciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Byte order of the narrow text; without case, only ASCII letters are folded,
// so that no byte of another letter changes its place in the order.
int CompareBytes(const std::string& element, const char* text, bool caseSensitive) {
    if (caseSensitive) {
        return Sign(std::strcmp(element.c_str(), text));
    }
    const auto* left = reinterpret_cast<const unsigned char*>(element.c_str());
    const auto* right = reinterpret_cast<const unsigned char*>(text);
    for (;; ++left, ++right) {
        const unsigned char a = AsciiLower(*left);
        const unsigned char b = AsciiLower(*right);
        if (a != b || a == 0) {
            return Sign(int{a} - int{b});
        }
    }
}

// Decodes narrow text in the current C locale; undecodable bytes are kept as
// their own code so that any text still compares.
std::wstring Widen(const char* text, bool foldCase) {
    std::wstring wide;
    std::mbstate_t state{};
    const std::size_t length = std::strlen(text);
    for (std::size_t at = 0; at < length;) {
        wchar_t c = 0;
        std::size_t used = std::mbrtowc(&c, text + at, length - at, &state);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
            used == 0) {
            c = static_cast<wchar_t>(static_cast<unsigned char>(text[at]));
            used = 1;
            state = std::mbstate_t{};
        }
        wide.push_back(foldCase ? static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))) : c);
        at += used;
    }
    return wide;
}

int CompareCollated(const std::string& element, const char* text, bool caseSensitive) {
    const std::wstring left = Widen(element.c_str(), !caseSensitive);
    const std::wstring right = Widen(text, !caseSensitive);
    return Sign(std::wcscoll(left.c_str(), right.c_str()));
}

}  // namespace

int CStringArrayPlus::CompareAt(std::size_t index, const char* text, unsigned flags) const {
    if (text == nullptr) {
        throw std::invalid_argument("CompareAt: null text");
    }
    // The comparisons work on terminated text, as the caller's text is: an
    // element holding a NUL byte ends there.
    const std::string& element = GetAt(index);
    const bool caseSensitive = (flags & kCaseSensitive) != 0;
    const int order = (flags & kLocaleCollation) != 0
                          ? CompareCollated(element, text, caseSensitive)
                          : CompareBytes(element, text, caseSensitive);
    return (flags & kDescending) != 0 ? -order : order;
}

int CStringArrayPlus::CompareItems(std::size_t index1, std::size_t index2, unsigned flags) const {
    return CompareAt(index1, GetAt(index2).c_str(), flags);
}
