// The desktop's key files (desktop entries, mimeapps.list): "[Group]" headers
// followed by "Key=Value" lines. Only what opening a web link needs is read.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using KeyFileGroup = std::map<std::string, std::string, std::less<>>;

// A desktop's key file is a few kilobytes; anything larger is not one.
inline constexpr std::size_t kMaxKeyFileSize = 1024 * 1024;

// The keys of `group` in `text`, values with their escapes (\s \n \t \r \\)
// resolved; other backslash pairs are kept as they stand, for the rules that
// read the value next. The first occurrence of a key wins; comments, blank
// lines, lines without '=' and other groups are skipped.
KeyFileGroup ParseKeyFileGroup(std::string_view text, std::string_view group);

// The same, read from a file. Nothing when the file is missing, is not a
// regular file, cannot be read or is larger than kMaxKeyFileSize.
std::optional<KeyFileGroup> ReadKeyFileGroup(const std::filesystem::path& file,
                                             std::string_view group);

// The entries of a ';'-separated list value ("a.desktop;b.desktop;"), empty
// entries dropped.
std::vector<std::string> SplitListValue(std::string_view value);

}  // namespace platform
