// Splitting a block of locations lines into the zone and place names they
// bind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One locations line, split. The views point into the batch's copy of the
// line, or into its own strings when the line needed the full tokenizer
// (quoted fields). The hash is the zone name's, for whoever looks it up.
struct LocationLine {
    LocationLine(std::string_view zoneName, std::string_view placeName)
        : zone(zoneName), place(placeName) {}

    std::string_view zone;
    std::string_view place;
    std::uint64_t hash = 0;
};

// One block of locations lines, split. Only lines that name both a zone and a
// place are kept. The batch keeps its own copy of the bytes with zero bytes
// after them, so that every line can be scanned in one stretch of fixed
// length without reading past the copy.
class LocationBatch {
public:
    // `text` is a run of whole lines; the last may lack its line feed.
    void Fill(std::string_view text);

    std::span<LocationLine> Lines() { return m_lines; }

private:
    std::size_t SplitLineAt(std::string_view bytes, std::size_t begin);
    std::size_t SplitLongLineAt(std::string_view bytes, std::size_t begin);
    void AddPlainLine(std::string_view line, std::size_t firstComma, std::size_t secondComma);
    void AddQuotedLine(std::string_view line);
    void Add(std::string_view zone, std::string_view place);

    std::string m_bytes;
    std::deque<std::string> m_owned;  // grows without moving what the views point to
    std::vector<LocationLine> m_lines;
};
