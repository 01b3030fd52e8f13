// Line-by-line reading of a data file as text mode reads it: LF or CR LF ends a
// line, a Ctrl-Z byte ends the readable text, the last line needs no LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/SharedReadFile.h"

// Calls `onLine(std::string_view)` for every line of `file` in file order; the
// view is valid only during the call. Lines may be of any length. Throws
// std::system_error when reading fails part way.
template <typename OnLine>
void ForEachLine(platform::SharedReadFile& file, OnLine&& onLine) {
    constexpr char kCtrlZ = '\x1A';
    const auto withoutCr = [](std::string_view line) {
        return line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
    };
    std::string chunk(std::size_t{64} << 10, '\0');
    std::string unfinished;  // the start of a line whose end is not read yet
    for (;;) {
        std::string_view text(chunk.data(), file.Read(chunk.data(), chunk.size()));
        const bool endOfText = text.empty() || text.find(kCtrlZ) != std::string_view::npos;
        text = text.substr(0, text.find(kCtrlZ));
        for (std::size_t lineFeed; (lineFeed = text.find('\n')) != std::string_view::npos;) {
            if (unfinished.empty()) {
                onLine(withoutCr(text.substr(0, lineFeed)));
            } else {
                unfinished.append(text.substr(0, lineFeed));
                onLine(withoutCr(unfinished));
                unfinished.clear();
            }
            text.remove_prefix(lineFeed + 1);
        }
        unfinished.append(text);
        if (endOfText) {
            if (!unfinished.empty()) {
                onLine(std::string_view(unfinished));
            }
            return;
        }
    }
}
