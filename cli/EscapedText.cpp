#include "cli/EscapedText.h"

#include <QByteArrayView>
#include <algorithm>
#include <array>

namespace {

bool IsC0OrDelete(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// How many bytes the UTF-8 character at `at` takes; 0 when the byte there
// begins none (a stray continuation byte, a cut-off, overlong or surrogate
// sequence).
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    constexpr std::size_t kLongest = 4;
    for (std::size_t length = 1; length <= kLongest && at + length <= text.size(); ++length) {
        if (QByteArrayView(text.data() + at, static_cast<qsizetype>(length)).isValidUtf8()) {
            return length;
        }
    }
    return 0;
}

// A C1 control: U+0080 to U+009F in UTF-8, or a byte 0x80 to 0x9F that
// belongs to no UTF-8 character, which a terminal reading 8-bit codes takes
// for one. Terminals take some of them (0x9B, a CSI) as the start of a
// control sequence.
bool IsC1(std::string_view character) {
    const auto first = static_cast<unsigned char>(character[0]);
    if (character.size() == 2) {
        return first == 0xC2 && static_cast<unsigned char>(character[1]) <= 0x9F;
    }
    return character.size() == 1 && first >= 0x80 && first <= 0x9F;
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
    for (std::size_t i = 0; i < text.size();) {
        // A byte that begins no UTF-8 character stands alone.
        const std::size_t length = std::max<std::size_t>(Utf8Length(text, i), 1);
        const std::string_view character = text.substr(i, length);
        const auto first = static_cast<unsigned char>(character[0]);
        if (IsC1(character)) {
            for (const char byte : character) {
                AppendHex(out, static_cast<unsigned char>(byte));
            }
        } else if (IsC0OrDelete(first)) {
            AppendEscaped(out, first);
        } else {
            out += character;
        }
        i += length;
    }
    return out;
}
