// One key's typed values as human-readable text, one value per line in the
// style of registry export files, e.g. "timezones_Base_Location"=dword:00000005.
// Lines the program does not change are written back byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/KeyStore.h"

namespace platform {

struct StoredValue {
    ValueType type = REG_NONE;
    std::vector<std::byte> data;

    friend bool operator==(const StoredValue&, const StoredValue&) = default;
};

// The line forms read and written:
//   ; a comment                     blank lines too
//   "name"=dword:0000000c           REG_DWORD, one to eight hex digits
//   "name"="text"                   REG_SZ (stored with its terminating zero)
//   "name"=hex:01,ff                REG_BINARY
//   "name"=hex(7):41,00,00          any type by number, bytes in hex
//   @=...                           the value without a name
// Inside quotes, \\ stands for a backslash and \" for a quote. Blanks may
// surround the '=' and end a line; lines end in LF or CR LF.
class ValueFile {
public:
    // Files larger than this are not settings files: the store never writes
    // one, so such a file is something else put in its place.
    static constexpr std::size_t kMaxSize = 64 * 1024;

    // Nothing when `text` is not a valid settings file: larger than kMaxSize,
    // not text (a control character other than tab and line ends), a line of
    // another form, or one value name given twice (the names compare without
    // regard to ASCII case), which would leave open which one holds.
    static std::optional<ValueFile> Parse(std::string_view text);

    const StoredValue* Find(std::string_view name) const;

    // Replaces the line of the value of that name where it stands, or adds a
    // line at the end. False, with nothing changed, when the name holds a
    // control character and so cannot be written on one line.
    bool SetDword(std::string_view name, std::uint32_t value);

    std::string Text() const;

private:
    struct Line {
        std::string text;
        std::optional<std::string> name;  // set on value lines
        StoredValue value;
    };

    // The line's index, or the number of lines when there is no such value.
    std::size_t IndexOf(std::string_view name) const;

    std::vector<Line> m_lines;
    std::string m_lineEnd = "\n";
};

}  // namespace platform
