#include "tools/tzsource/TzifFile.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tzsource {
namespace {

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : m_bytes(bytes) {}

    std::string_view Take(std::size_t count) {
        if (count > m_bytes.size() - m_position) {
            throw TzifError("TZif data is cut short");
        }
        const std::string_view part = m_bytes.substr(m_position, count);
        m_position += count;
        return part;
    }
    std::uint32_t U32() {
        const std::string_view b = Take(4);
        std::uint32_t value = 0;
        for (char c : b) {
            value = (value << 8) | static_cast<unsigned char>(c);
        }
        return value;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::int64_t I64() {
        const std::uint64_t high = U32();
        return static_cast<std::int64_t>((high << 32) | U32());
    }
    std::uint8_t U8() { return static_cast<unsigned char>(Take(1)[0]); }
    std::size_t Remaining() const { return m_bytes.size() - m_position; }
    std::string_view Rest() const { return m_bytes.substr(m_position); }

private:
    std::string_view m_bytes;
    std::size_t m_position = 0;
};

struct Header {
    char version = '\0';
    std::uint32_t isUtCount = 0;
    std::uint32_t isStdCount = 0;
    std::uint32_t leapCount = 0;
    std::uint32_t timeCount = 0;
    std::uint32_t typeCount = 0;
    std::uint32_t charCount = 0;
};

Header ReadHeader(ByteReader& in) {
    if (in.Take(4) != "TZif") {
        throw TzifError("not a TZif file");
    }
    Header header;
    header.version = static_cast<char>(in.U8());
    if (header.version != '\0' && (header.version < '2' || header.version > '4')) {
        throw TzifError("unknown TZif version");
    }
    in.Take(15);
    header.isUtCount = in.U32();
    header.isStdCount = in.U32();
    header.leapCount = in.U32();
    header.timeCount = in.U32();
    header.typeCount = in.U32();
    header.charCount = in.U32();
    if (header.typeCount == 0 || header.typeCount > 256 || header.charCount == 0 ||
        (header.isUtCount != 0 && header.isUtCount != header.typeCount) ||
        (header.isStdCount != 0 && header.isStdCount != header.typeCount)) {
        throw TzifError("inconsistent TZif header");
    }
    return header;
}

std::size_t BlockSize(const Header& h, std::size_t timeSize) {
    // Each count is at most 2^32, so the sum cannot overflow 64 bits.
    return std::size_t{h.timeCount} * timeSize + h.timeCount + std::size_t{h.typeCount} * 6 +
           h.charCount + std::size_t{h.leapCount} * (timeSize + 4) + h.isStdCount + h.isUtCount;
}

TzifData ReadBlock(ByteReader& in, const Header& h, bool wideTimes) {
    if (BlockSize(h, wideTimes ? 8 : 4) > in.Remaining()) {
        throw TzifError("TZif data is cut short");
    }
    TzifData data;
    data.version = h.version;
    data.transitionTimes.reserve(h.timeCount);
    for (std::uint32_t i = 0; i < h.timeCount; ++i) {
        data.transitionTimes.push_back(wideTimes ? in.I64() : in.I32());
        if (i > 0 && data.transitionTimes[i] <= data.transitionTimes[i - 1]) {
            throw TzifError("TZif transition times are not ascending");
        }
    }
    for (std::uint32_t i = 0; i < h.timeCount; ++i) {
        const std::uint8_t type = in.U8();
        if (type >= h.typeCount) {
            throw TzifError("TZif transition names a missing local time type");
        }
        data.transitionTypes.push_back(type);
    }
    std::vector<std::uint8_t> abbreviationIndex;
    for (std::uint32_t i = 0; i < h.typeCount; ++i) {
        TzifLocalType type;
        type.utcOffset = in.I32();
        const std::uint8_t isDst = in.U8();
        if (isDst > 1 || type.utcOffset == INT32_MIN) {
            throw TzifError("malformed TZif local time type");
        }
        type.isDaylight = isDst == 1;
        abbreviationIndex.push_back(in.U8());
        data.localTypes.push_back(type);
    }
    const std::string_view chars = in.Take(h.charCount);
    for (std::uint32_t i = 0; i < h.typeCount; ++i) {
        const std::size_t begin = abbreviationIndex[i];
        if (begin >= chars.size()) {
            throw TzifError("TZif abbreviation index out of range");
        }
        const std::size_t end = chars.find('\0', begin);
        data.localTypes[i].abbreviation =
            std::string(chars.substr(begin, end == std::string_view::npos ? end : end - begin));
    }
    in.Take(std::size_t{h.leapCount} * (wideTimes ? 12 : 8) + h.isStdCount + h.isUtCount);
    return data;
}

}  // namespace

TzifData ParseTzif(std::string_view bytes) {
    ByteReader in(bytes);
    const Header first = ReadHeader(in);
    if (first.version == '\0') {
        return ReadBlock(in, first, false);
    }
    if (BlockSize(first, 4) > in.Remaining()) {
        throw TzifError("TZif data is cut short");
    }
    in.Take(BlockSize(first, 4));
    const Header second = ReadHeader(in);
    TzifData data = ReadBlock(in, second, true);
    const std::string_view rest = in.Rest();
    if (rest.size() < 2 || rest.front() != '\n') {
        throw TzifError("TZif footer missing");
    }
    const std::size_t close = rest.find('\n', 1);
    if (close == std::string_view::npos) {
        throw TzifError("TZif footer not terminated");
    }
    data.footer = std::string(rest.substr(1, close - 1));
    return data;
}

TzifData ReadTzifFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw TzifError("cannot open " + path);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        throw TzifError("cannot read " + path);
    }
    try {
        return ParseTzif(bytes.str());
    } catch (const TzifError& error) {
        throw TzifError(path + ": " + error.what());
    }
}

ZoneHistory::ZoneHistory(TzifData data) : m_data(std::move(data)) {
    if (!m_data.footer.empty()) {
        m_footer = ParsePosixTz(m_data.footer);
    }
}

std::optional<std::int64_t> ZoneHistory::TableEnd() const {
    if (m_data.transitionTimes.empty()) {
        return std::nullopt;
    }
    return m_data.transitionTimes.back();
}

std::int32_t ZoneHistory::OffsetAt(std::int64_t instant) const {
    const auto& times = m_data.transitionTimes;
    const auto after = std::upper_bound(times.begin(), times.end(), instant);
    if (after == times.end() && m_footer) {
        return RuleOffsetAt(*m_footer, instant);
    }
    if (after == times.begin()) {
        return m_data.localTypes.front().utcOffset;
    }
    const auto index = static_cast<std::size_t>(std::distance(times.begin(), after) - 1);
    return m_data.localTypes[m_data.transitionTypes[index]].utcOffset;
}

std::vector<OffsetChange> ZoneHistory::Changes(std::int64_t from, std::int64_t to) const {
    std::vector<OffsetChange> changes;
    std::int32_t current = OffsetAt(from - 1);
    const auto& times = m_data.transitionTimes;
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (times[i] < from || times[i] >= to) {
            continue;
        }
        const std::int32_t after = m_data.localTypes[m_data.transitionTypes[i]].utcOffset;
        if (after != current) {
            changes.push_back({times[i], current, after});
            current = after;
        }
    }
    if (m_footer) {
        const std::int64_t ruleFrom = times.empty() ? from : std::max(from, times.back() + 1);
        for (const OffsetChange& change : RuleChanges(*m_footer, ruleFrom, to)) {
            if (change.offsetAfter != current) {
                changes.push_back({change.instant, current, change.offsetAfter});
                current = change.offsetAfter;
            }
        }
    }
    return changes;
}

}  // namespace tzsource
