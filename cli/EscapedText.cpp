#include "cli/EscapedText.h"

#include <array>

namespace {

bool IsC0OrDelete(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// U+0080 to U+009F in UTF-8; terminals take some of them (U+009B, a CSI) as
// the start of a control sequence.
bool StartsC1(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]) == 0xC2 && at + 1 < text.size() &&
           static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
           static_cast<unsigned char>(text[at + 1]) <= 0x9F;
}

void AppendHex(std::string& out, unsigned char byte) {
    constexpr std::array<char, 16> kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                           '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    out += "\\x";
    out += kDigits.at(byte >> 4);
    out += kDigits.at(byte & 0x0F);
}

void AppendEscaped(std::string& out, unsigned char byte) {
    switch (byte) {
        case 0x1B: out += "\\e"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: AppendHex(out, byte); break;
    }
}

}  // namespace

std::string EscapedText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (StartsC1(text, i)) {
            AppendHex(out, byte);
            AppendHex(out, static_cast<unsigned char>(text[++i]));
        } else if (IsC0OrDelete(byte)) {
            AppendEscaped(out, byte);
        } else {
            out += text[i];
        }
    }
    return out;
}
