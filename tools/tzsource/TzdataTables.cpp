#include "tools/tzsource/TzdataTables.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

namespace tzsource {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])) != 0) {
            ++i;
        }
        if (i >= line.size() || line[i] == '#') {
            break;
        }
        const std::size_t begin = i;
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])) == 0) {
            ++i;
        }
        words.push_back(line.substr(begin, i - begin));
    }
    return words;
}

// zic takes any leading part of a keyword, ignoring case.
bool AbbreviatesKeyword(std::string_view word, std::string_view keyword) {
    if (word.empty() || word.size() > keyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(word[i])) != keyword[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        begin = end + 1;
    }
    return lines;
}

std::vector<std::string_view> SplitFields(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = line.find(separator, begin);
        if (end == std::string_view::npos) {
            fields.push_back(line.substr(begin));
            return fields;
        }
        fields.push_back(line.substr(begin, end - begin));
        begin = end + 1;
    }
}

std::vector<std::vector<std::string_view>> TableRows(std::string_view text) {
    std::vector<std::vector<std::string_view>> rows;
    for (std::string_view line : SplitLines(text)) {
        if (!line.empty() && line.front() != '#') {
            rows.push_back(SplitFields(line, '\t'));
        }
    }
    return rows;
}

std::optional<std::string> ZoneIndex::Resolve(std::string_view name) const {
    std::string current(name);
    // A chain of links longer than the number of links must be a loop.
    for (std::size_t hops = 0; hops <= links.size(); ++hops) {
        if (IsZone(current)) {
            return current;
        }
        const auto link = links.find(current);
        if (link == links.end()) {
            return std::nullopt;
        }
        current = link->second;
    }
    return std::nullopt;
}

bool ZoneIndex::IsZone(std::string_view name) const {
    return std::binary_search(zones.begin(), zones.end(), name);
}

ZoneIndex ParseZoneIndex(std::string_view text) {
    ZoneIndex index;
    std::set<std::string> zones;
    constexpr std::string_view kVersionTag = "# version ";
    for (std::string_view line : SplitLines(text)) {
        if (line.substr(0, kVersionTag.size()) == kVersionTag && index.version.empty()) {
            const std::vector<std::string_view> words = Words(line.substr(kVersionTag.size()));
            if (!words.empty()) {
                index.version = std::string(words.front());
            }
            continue;
        }
        // Continuation lines of a zone start with blanks in the source files;
        // in tzdata.zi they start with a number, which is no keyword.
        if (line.empty() || std::isspace(static_cast<unsigned char>(line.front())) != 0) {
            continue;
        }
        const std::vector<std::string_view> words = Words(line);
        if (words.size() >= 2 && AbbreviatesKeyword(words[0], "zone")) {
            zones.emplace(words[1]);
        } else if (words.size() >= 3 && AbbreviatesKeyword(words[0], "link")) {
            index.links[std::string(words[2])] = std::string(words[1]);
        }
    }
    index.zones.assign(zones.begin(), zones.end());
    for (const std::string& zone : index.zones) {
        index.links.erase(zone);  // a name that is a zone is not also an alias
    }
    return index;
}

std::vector<ZoneTabEntry> ParseZoneTab(std::string_view text) {
    std::vector<ZoneTabEntry> entries;
    for (const auto& fields : TableRows(text)) {
        if (fields.size() < 3 || fields[0].empty() || fields[2].empty()) {
            continue;
        }
        ZoneTabEntry entry;
        for (std::string_view code : SplitFields(fields[0], ',')) {
            if (!code.empty()) {
                entry.countryCodes.emplace_back(code);
            }
        }
        entry.zone = std::string(fields[2]);
        if (fields.size() > 3) {
            entry.comment = std::string(fields[3]);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::map<std::string, std::string> ParseCountryTab(std::string_view text) {
    std::map<std::string, std::string> countries;
    for (const auto& fields : TableRows(text)) {
        if (fields.size() >= 2 && !fields[0].empty() && !fields[1].empty()) {
            countries.emplace(std::string(fields[0]), std::string(fields[1]));
        }
    }
    return countries;
}

std::optional<std::string> ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return text.str();
}

}  // namespace tzsource
