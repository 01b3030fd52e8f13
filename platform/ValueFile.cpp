#include "platform/ValueFile.h"

#include <algorithm>
#include <cstdio>

namespace platform {
namespace {

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// Reads a text of one line piece by piece; every Take... consumes what it
// read only when it succeeds.
class LineReader {
public:
    explicit LineReader(std::string_view line) : m_rest(line) {}

    void SkipBlanks() {
        while (!m_rest.empty() && IsBlank(m_rest.front())) {
            m_rest.remove_prefix(1);
        }
    }
    bool AtEnd() const { return m_rest.empty(); }

    bool Take(std::string_view literal) {
        if (!m_rest.starts_with(literal)) {
            return false;
        }
        m_rest.remove_prefix(literal.size());
        return true;
    }

    // A quoted text with \\ and \" escapes.
    std::optional<std::string> TakeQuoted() {
        if (!Take("\"")) {
            return std::nullopt;
        }
        std::string text;
        for (std::size_t i = 0; i < m_rest.size(); ++i) {
            const char c = m_rest[i];
            if (c == '"') {
                m_rest.remove_prefix(i + 1);
                return text;
            }
            if (c == '\\') {
                if (i + 1 == m_rest.size() || (m_rest[i + 1] != '\\' && m_rest[i + 1] != '"')) {
                    return std::nullopt;
                }
                ++i;
            }
            text += m_rest[i];
        }
        return std::nullopt;
    }

    // One to `maxDigits` hex digits.
    std::optional<std::uint32_t> TakeHex(std::size_t maxDigits) {
        std::uint32_t number = 0;
        std::size_t count = 0;
        while (count < m_rest.size() && HexDigit(m_rest[count]) >= 0) {
            number = number * 16 + static_cast<std::uint32_t>(HexDigit(m_rest[count]));
            if (++count > maxDigits) {
                return std::nullopt;
            }
        }
        if (count == 0) {
            return std::nullopt;
        }
        m_rest.remove_prefix(count);
        return number;
    }

    // Two-digit hex bytes separated by commas, possibly none.
    std::optional<std::vector<std::byte>> TakeHexBytes() {
        std::vector<std::byte> bytes;
        SkipBlanks();
        if (AtEnd()) {
            return bytes;
        }
        do {
            SkipBlanks();
            if (m_rest.size() < 2 || HexDigit(m_rest[0]) < 0 || HexDigit(m_rest[1]) < 0) {
                return std::nullopt;
            }
            bytes.push_back(static_cast<std::byte>(HexDigit(m_rest[0]) * 16 + HexDigit(m_rest[1])));
            m_rest.remove_prefix(2);
            SkipBlanks();
        } while (Take(","));
        return bytes;
    }

private:
    std::string_view m_rest;
};

std::vector<std::byte> DwordBytes(std::uint32_t value) {
    return {static_cast<std::byte>(value), static_cast<std::byte>(value >> 8),
            static_cast<std::byte>(value >> 16), static_cast<std::byte>(value >> 24)};
}

std::optional<StoredValue> TakeData(LineReader& reader) {
    if (reader.Take("dword:")) {
        const std::optional<std::uint32_t> number = reader.TakeHex(8);
        return number ? std::optional(StoredValue{REG_DWORD, DwordBytes(*number)}) : std::nullopt;
    }
    if (const std::optional<std::string> text = reader.TakeQuoted()) {
        StoredValue value{REG_SZ, {}};
        for (char c : *text) {
            value.data.push_back(static_cast<std::byte>(c));
        }
        value.data.push_back(std::byte{0});
        return value;
    }
    ValueType type = REG_BINARY;
    if (reader.Take("hex(")) {
        const std::optional<std::uint32_t> number = reader.TakeHex(8);
        if (!number || !reader.Take(")")) {
            return std::nullopt;
        }
        type = *number;
    } else if (!reader.Take("hex")) {
        return std::nullopt;
    }
    if (!reader.Take(":")) {
        return std::nullopt;
    }
    std::optional<std::vector<std::byte>> bytes = reader.TakeHexBytes();
    return bytes ? std::optional(StoredValue{type, std::move(*bytes)}) : std::nullopt;
}

struct ParsedLine {
    std::optional<std::string> name;
    StoredValue value;
};

// Nothing when the line is of no known form.
std::optional<ParsedLine> ParseLine(std::string_view text) {
    LineReader reader(text);
    reader.SkipBlanks();
    if (reader.AtEnd() || reader.Take(";")) {
        return ParsedLine{};
    }
    std::optional<std::string> name = reader.Take("@") ? std::string() : reader.TakeQuoted();
    if (!name) {
        return std::nullopt;
    }
    reader.SkipBlanks();
    if (!reader.Take("=")) {
        return std::nullopt;
    }
    reader.SkipBlanks();
    std::optional<StoredValue> value = TakeData(reader);
    reader.SkipBlanks();
    if (!value || !reader.AtEnd()) {
        return std::nullopt;
    }
    return ParsedLine{std::move(name), std::move(*value)};
}

std::string QuotedName(std::string_view name) {
    if (name.empty()) {
        return "@";
    }
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::optional<ValueFile> ValueFile::Parse(std::string_view text) {
    if (text.size() > kMaxSize) {
        return std::nullopt;
    }
    ValueFile file;
    bool firstLine = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const bool crLf = line.ends_with('\r');
        if (crLf) {
            line.remove_suffix(1);
        }
        if (firstLine && crLf) {
            file.m_lineEnd = "\r\n";
        }
        firstLine = false;
        if (std::any_of(line.begin(), line.end(), IsControl)) {
            return std::nullopt;
        }
        std::optional<ParsedLine> parsed = ParseLine(line);
        if (!parsed || (parsed->name && file.Find(*parsed->name) != nullptr)) {
            return std::nullopt;
        }
        file.m_lines.push_back(
            Line{std::string(line), std::move(parsed->name), std::move(parsed->value)});
    }
    return file;
}

std::size_t ValueFile::IndexOf(std::string_view name) const {
    const auto found = std::find_if(m_lines.begin(), m_lines.end(), [name](const Line& line) {
        return line.name && SameKeyName(*line.name, name);
    });
    return static_cast<std::size_t>(found - m_lines.begin());
}

const StoredValue* ValueFile::Find(std::string_view name) const {
    const std::size_t index = IndexOf(name);
    return index == m_lines.size() ? nullptr : &m_lines[index].value;
}

bool ValueFile::SetDword(std::string_view name, std::uint32_t value) {
    if (std::any_of(name.begin(), name.end(), IsControl)) {
        return false;
    }
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(value));
    Line line{QuotedName(name) + "=dword:" + digits, std::string(name),
              StoredValue{REG_DWORD, DwordBytes(value)}};
    const std::size_t index = IndexOf(name);
    if (index < m_lines.size()) {
        m_lines[index] = std::move(line);
    } else {
        m_lines.push_back(std::move(line));
    }
    return true;
}

std::string ValueFile::Text() const {
    std::string text;
    for (const Line& line : m_lines) {
        text += line.text;
        text += m_lineEnd;
    }
    return text;
}

}  // namespace platform
