// The lines of a text as text mode reads them, found the slow and obvious way
// so that the fast readers can be checked against it.
#pragma once

#include <cstddef>
#include <string_view>

// Calls `onLine(std::string_view)` for every line of `text`: a Ctrl-Z ends the
// text, LF or CR LF ends a line, and the last line needs no LF.
template <typename OnLine>
void ForEachTextModeLine(std::string_view text, OnLine&& onLine) {
    text = text.substr(0, text.find('\x1A'));
    while (!text.empty()) {
        const std::size_t lineFeed = text.find('\n');
        std::string_view line = text.substr(0, lineFeed);
        if (lineFeed != std::string_view::npos && line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        onLine(line);
        text = lineFeed == std::string_view::npos ? std::string_view() : text.substr(lineFeed + 1);
    }
}
