#include "platform/KeyFile.h"

#include <system_error>

#include "platform/SharedReadFile.h"

namespace platform {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t\r");
    // Blanks followed only by a CR have no last character to keep.
    if (first == std::string_view::npos || last == std::string_view::npos || last < first) {
        return {};
    }
    return text.substr(first, last - first + 1);
}

std::string ResolveEscapes(std::string_view value) {
    std::string resolved;
    resolved.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            resolved += value[i];
            continue;
        }
        switch (value[i + 1]) {
            case 's': resolved += ' '; break;
            case 'n': resolved += '\n'; break;
            case 't': resolved += '\t'; break;
            case 'r': resolved += '\r'; break;
            case '\\': resolved += '\\'; break;
            default: resolved.append(value.substr(i, 2)); break;
        }
        ++i;
    }
    return resolved;
}

}  // namespace

KeyFileGroup ParseKeyFileGroup(std::string_view text, std::string_view group) {
    KeyFileGroup keys;
    bool inGroup = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = TrimBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            inGroup =
                line.size() >= 2 && line.back() == ']' && line.substr(1, line.size() - 2) == group;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (!key.empty() && keys.find(key) == keys.end()) {
            keys.emplace(std::string(key), ResolveEscapes(TrimBlanks(line.substr(equals + 1))));
        }
    }
    return keys;
}

std::optional<KeyFileGroup> ReadKeyFileGroup(const std::filesystem::path& file,
                                             std::string_view group) {
    std::optional<SharedReadFile> opened = SharedReadFile::Open(file);
    if (!opened) {
        return std::nullopt;
    }
    std::string text;
    char buffer[8192];
    try {
        while (const std::size_t count = opened->Read(buffer, sizeof buffer)) {
            if (text.size() + count > kMaxKeyFileSize) {
                return std::nullopt;
            }
            text.append(buffer, count);
        }
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    return ParseKeyFileGroup(text, group);
}

std::vector<std::string> SplitListValue(std::string_view value) {
    std::vector<std::string> entries;
    while (!value.empty()) {
        const std::size_t semicolon = value.find(';');
        const std::string_view entry = TrimBlanks(value.substr(0, semicolon));
        if (!entry.empty()) {
            entries.emplace_back(entry);
        }
        value =
            semicolon == std::string_view::npos ? std::string_view() : value.substr(semicolon + 1);
    }
    return entries;
}

}  // namespace platform
