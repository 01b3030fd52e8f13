// Line-by-line reading of a data file as text mode reads it: LF or CR LF ends a
// line, a Ctrl-Z byte ends the readable text, the last line needs no LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/SharedReadFile.h"

namespace detail {

constexpr char kCtrlZ = '\x1A';
constexpr std::size_t kReadChunk = std::size_t{64} << 10;

// A byte buffer that is not cleared when it is made or grown: every byte is
// written by a read before it is looked at.
class ReadBuffer {
public:
    ReadBuffer() : m_bytes(new char[kReadChunk]), m_capacity(kReadChunk) {}
    char* Data() { return m_bytes.get(); }
    std::size_t Capacity() const { return m_capacity; }
    // Doubles the capacity, keeping the first `used` bytes.
    void Grow(std::size_t used) {
        std::unique_ptr<char[]> larger(new char[m_capacity * 2]);
        std::memcpy(larger.get(), m_bytes.get(), used);
        m_bytes = std::move(larger);
        m_capacity *= 2;
    }

private:
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_capacity;
};

inline std::string_view WithoutTrailingCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace detail

// One part of a file, read through SharedReadFile::ReadAt so that threads
// can each read their own part at once: from `begin` up to `end`, or to the
// end of the file when `end` is kToTheEnd.
class FileRange {
public:
    static constexpr std::uint64_t kToTheEnd = static_cast<std::uint64_t>(-1);

    FileRange(platform::SharedReadFile& file, std::uint64_t begin, std::uint64_t end)
        : m_file(file), m_position(begin), m_end(end) {}

    std::size_t Read(char* buffer, std::size_t size) {
        if (m_end - m_position < size) {  // m_position never passes m_end
            size = static_cast<std::size_t>(m_end - m_position);
        }
        const std::size_t count = m_file.ReadAt(m_position, buffer, size);
        m_position += count;
        return count;
    }

private:
    platform::SharedReadFile& m_file;
    std::uint64_t m_position;
    std::uint64_t m_end;
};

// Calls `onText(std::string_view)` with the text of `source` (a
// SharedReadFile or a FileRange) in order, a run of whole lines at a time:
// every run ends just after a line feed, but the last may end without one.
// The view is valid only during the call. Lines may be of any length. Returns
// whether a Ctrl-Z ended the text. Throws std::system_error when reading
// fails part way.
template <typename Source, typename OnText>
bool ForEachTextBlock(Source& source, OnText&& onText) {
    detail::ReadBuffer buffer;
    std::size_t begin = 0;  // first unconsumed byte
    std::size_t end = 0;    // one past the last byte read
    bool endOfText = false;
    bool ctrlZ = false;
    while (!endOfText) {
        // Make room: move the partial line to the front, grow for long lines.
        if (begin > 0) {
            std::memmove(buffer.Data(), buffer.Data() + begin, end - begin);
            end -= begin;
            begin = 0;
        }
        if (buffer.Capacity() - end < detail::kReadChunk / 2) {
            buffer.Grow(end);
        }
        const std::size_t count = source.Read(buffer.Data() + end, buffer.Capacity() - end);
        if (count == 0) {
            endOfText = true;
        } else if (const void* stop = std::memchr(buffer.Data() + end, detail::kCtrlZ, count)) {
            end = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer.Data());
            endOfText = true;
            ctrlZ = true;
        } else {
            end += count;
        }
        const std::string_view unconsumed(buffer.Data() + begin, end - begin);
        const std::size_t lastLineFeed = unconsumed.rfind('\n');
        const std::size_t whole = endOfText                                ? unconsumed.size()
                                  : lastLineFeed == std::string_view::npos ? 0
                                                                           : lastLineFeed + 1;
        if (whole > 0) {
            onText(unconsumed.substr(0, whole));
            begin += whole;
        }
    }
    return ctrlZ;
}

// Appends the lines of `text`, a run of whole lines as ForEachTextBlock hands
// them out, to `lines`.
inline void SplitLines(std::string_view text, std::vector<std::string_view>& lines) {
    for (;;) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            break;
        }
        lines.push_back(detail::WithoutTrailingCr(text.substr(0, newline)));
        text.remove_prefix(newline + 1);
    }
    if (!text.empty()) {  // the last line has no line feed
        lines.push_back(text);
    }
}

// Calls `onLines(std::span<const std::string_view>)` with the lines of the
// file in file order, a block of them at a time; the views are valid only
// during the call. Lines may be of any length. Throws std::system_error when
// reading fails part way.
template <typename OnLines>
void ForEachLineBlock(platform::SharedReadFile& file, OnLines&& onLines) {
    std::vector<std::string_view> lines;
    ForEachTextBlock(file, [&](std::string_view text) {
        lines.clear();
        SplitLines(text, lines);
        onLines(std::span<const std::string_view>(lines));
    });
}
