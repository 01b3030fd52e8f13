#include "catalogue/LocationBatch.h"

#include <algorithm>
#include <bit>

#include "catalogue/ByteScan.h"
#include "catalogue/FieldReader.h"

namespace {

constexpr std::size_t kNone = std::string_view::npos;

std::size_t LowestBit(std::uint64_t mask) {
    return static_cast<std::size_t>(std::countr_zero(mask));
}

}  // namespace

void LocationBatch::Fill(std::string_view text) {
    m_lines.clear();
    m_owned.clear();
    m_bytes.assign(text);
    m_bytes.append(kByteMaskWidth, '\0');
    const std::string_view bytes(m_bytes.data(), text.size());
    for (std::size_t begin = 0; begin < bytes.size();) {
        begin = SplitLineAt(bytes, begin);
    }
}

// Splits the line that starts at `begin` and returns where the next one
// starts. One scan of the stretch from the line's start finds the line feed,
// the commas and any quote of a short line; a long line is searched for each.
std::size_t LocationBatch::SplitLineAt(std::string_view bytes, std::size_t begin) {
    const ByteMasks found = FindBytes(bytes.data() + begin, '\n', ',', '"');
    if (found.first == 0) {
        return SplitLongLineAt(bytes, begin);
    }
    // The padding holds no line feed, so this one is in the text.
    const std::size_t size = LowestBit(found.first);
    const std::uint64_t inLine = (std::uint64_t{1} << size) - 1;  // size < 64
    std::string_view line = bytes.substr(begin, size);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if ((found.third & inLine) != 0) {
        AddQuotedLine(line);
    } else {
        const std::uint64_t commas = found.second & inLine;
        const std::uint64_t laterCommas = commas & (commas - 1);
        AddPlainLine(line, commas == 0 ? kNone : LowestBit(commas),
                     laterCommas == 0 ? kNone : LowestBit(laterCommas));
    }
    return begin + size + 1;
}

std::size_t LocationBatch::SplitLongLineAt(std::string_view bytes, std::size_t begin) {
    const std::size_t lineFeed = bytes.find('\n', begin);
    std::string_view line = bytes.substr(begin, lineFeed - begin);
    if (lineFeed != std::string_view::npos && line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (line.find('"') != std::string_view::npos) {
        AddQuotedLine(line);
    } else {
        const std::size_t comma = line.find(',');
        AddPlainLine(line, comma, comma == kNone ? kNone : line.find(',', comma + 1));
    }
    return lineFeed == std::string_view::npos ? bytes.size() : lineFeed + 1;
}

// A line without quotes: each field simply runs to the next comma.
void LocationBatch::AddPlainLine(std::string_view line, std::size_t firstComma,
                                 std::size_t secondComma) {
    if (firstComma == kNone) {
        return;  // a zone without a place
    }
    Add(line.substr(0, firstComma),
        line.substr(firstComma + 1, std::min(secondComma, line.size()) - (firstComma + 1)));
}

// A line with quotes goes through the full tokenizer.
void LocationBatch::AddQuotedLine(std::string_view line) {
    std::string& zone = m_owned.emplace_back();
    std::string& place = m_owned.emplace_back();
    ParseLocationLine(line, zone, place);
    Add(zone, place);
}

void LocationBatch::Add(std::string_view zone, std::string_view place) {
    if (!zone.empty() && !place.empty()) {
        // Made in place: copying a line record made on the stack stalls on
        // reading back what was just written.
        m_lines.emplace_back(zone, place);
    }
}
