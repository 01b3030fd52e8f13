// Line-by-line reading of a data file as text mode reads it: LF or CR LF ends a
// line, a Ctrl-Z byte ends the readable text, the last line needs no LF.
#pragma once

#include <cstddef>
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

// Calls `onLines(std::span<const std::string_view>)` with the lines of the
// file in file order, a block of them at a time; the views are valid only
// during the call. Lines may be of any length. Throws std::system_error when
// reading fails part way.
template <typename OnLines>
void ForEachLineBlock(platform::SharedReadFile& file, OnLines&& onLines) {
    detail::ReadBuffer buffer;
    std::vector<std::string_view> lines;
    std::size_t begin = 0;  // first unconsumed byte
    std::size_t end = 0;    // one past the last byte read
    bool endOfText = false;
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
        const std::size_t count = file.Read(buffer.Data() + end, buffer.Capacity() - end);
        if (count == 0) {
            endOfText = true;
        } else if (const void* stop = std::memchr(buffer.Data() + end, detail::kCtrlZ, count)) {
            end = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer.Data());
            endOfText = true;
        } else {
            end += count;
        }
        lines.clear();
        for (;;) {
            const char* start = buffer.Data() + begin;
            const void* newline = std::memchr(start, '\n', end - begin);
            if (newline == nullptr) {
                break;
            }
            const auto length = static_cast<std::size_t>(static_cast<const char*>(newline) - start);
            lines.push_back(detail::WithoutTrailingCr(std::string_view(start, length)));
            begin += length + 1;
        }
        if (endOfText && begin < end) {  // the last line has no line feed
            lines.emplace_back(buffer.Data() + begin, end - begin);
            begin = end;
        }
        if (!lines.empty()) {
            onLines(std::span<const std::string_view>(lines));
        }
    }
}

// Calls `onLine(std::string_view)` for every line in file order; the view is
// valid only during the call.
template <typename OnLine>
void ForEachLine(platform::SharedReadFile& file, OnLine&& onLine) {
    ForEachLineBlock(file, [&onLine](std::span<const std::string_view> lines) {
        for (const std::string_view line : lines) {
            onLine(line);
        }
    });
}
