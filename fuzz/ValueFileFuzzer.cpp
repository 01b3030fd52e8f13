// Feeds arbitrary bytes to the settings file parser as a whole file and checks
// that whatever it accepts is written back unchanged, and that setting a value
// changes that value's line and nothing else.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ValueFile.h"

namespace {

using platform::ValueFile;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

bool IsDword(const platform::StoredValue* value, std::uint32_t expected) {
    if (value == nullptr || value->type != platform::REG_DWORD || value->data.size() != 4) {
        return false;
    }
    std::uint32_t read = 0;
    for (int i = 3; i >= 0; --i) {
        read =
            (read << 8) | std::to_integer<std::uint32_t>(value->data[static_cast<std::size_t>(i)]);
    }
    return read == expected;
}

// The first quoted text of the input, without its quotes: often the name of a
// value the file already holds, so that replacing a line in place is tried as
// often as adding one.
std::string NameFromInput(std::string_view text) {
    const std::size_t open = text.find('"');
    if (open == std::string_view::npos) {
        return "fuzz";
    }
    const std::size_t close = text.find('"', open + 1);
    return std::string(text.substr(
        open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
}

void CheckSetDword(const ValueFile& parsed, const std::string& name, std::uint32_t value) {
    ValueFile changed = parsed;
    const std::string before = parsed.Text();
    if (!changed.SetDword(name, value)) {
        // Refused: only a name that cannot stand on one line is.
        Check(std::any_of(name.begin(), name.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return (byte < 0x20 && c != '\t') || byte == 0x7F;
        }));
        Check(changed.Text() == before);
        return;
    }
    Check(IsDword(changed.Find(name), value));

    // Exactly one line differs, or one line was added at the end.
    const std::string after = changed.Text();
    const std::vector<std::string_view> oldLines = Lines(before);
    const std::vector<std::string_view> newLines = Lines(after);
    Check(newLines.size() == oldLines.size() || newLines.size() == oldLines.size() + 1);
    std::size_t differing = newLines.size() - oldLines.size();
    for (std::size_t i = 0; i < oldLines.size(); ++i) {
        differing += oldLines[i] != newLines[i] ? 1 : 0;
    }
    Check(differing <= 1);

    // What is written reads back with the new value in it.
    if (after.size() <= ValueFile::kMaxSize) {
        const std::optional<ValueFile> reread = ValueFile::Parse(after);
        Check(reread.has_value());
        Check(IsDword(reread->Find(name), value));
        Check(reread->Text() == after);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<ValueFile> parsed = ValueFile::Parse(text);
    if (!parsed) {
        return 0;
    }
    Check(size <= ValueFile::kMaxSize);

    // Written back, a file keeps every line; with LF line ends and a final
    // line end it keeps every byte.
    const std::string written = parsed->Text();
    const bool plainLineEnds =
        text.find('\r') == std::string_view::npos && (text.empty() || text.back() == '\n');
    if (plainLineEnds) {
        Check(written == text);
    }
    if (written.size() <= ValueFile::kMaxSize) {
        const std::optional<ValueFile> reread = ValueFile::Parse(written);
        Check(reread.has_value());
        Check(reread->Text() == written);
    }

    const std::uint32_t value = size == 0 ? 0u : static_cast<std::uint32_t>(data[0]) * 0x01010101u;
    CheckSetDword(*parsed, "timezones_Base_Location", value);
    CheckSetDword(*parsed, NameFromInput(text), ~value);
    return 0;
}
