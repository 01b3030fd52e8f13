// Copying and comparing the short strings a data file is made of (zone and
// place names, mostly under twenty bytes) in a few fixed-size moves. A call
// to the C library per name costs more than the bytes themselves when
// millions of names are loaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace shortbytes {

template <typename Word>
Word Load(const char* bytes) {
    Word word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

template <typename Word>
void Store(char* to, Word word) {
    std::memcpy(to, &word, sizeof word);
}

// Copies `size` bytes between buffers that do not overlap, writing nothing
// outside [to, to + size). The pieces of a size that is not a multiple of
// eight overlap each other.
inline void Copy(char* to, const char* from, std::size_t size) {
    if (size >= 8) {
        std::size_t at = 0;
        for (; at + 8 < size; at += 8) {
            Store(to + at, Load<std::uint64_t>(from + at));
        }
        Store(to + size - 8, Load<std::uint64_t>(from + size - 8));
    } else if (size >= 4) {
        const auto head = Load<std::uint32_t>(from);
        const auto tail = Load<std::uint32_t>(from + size - 4);
        Store(to, head);
        Store(to + size - 4, tail);
    } else if (size > 0) {
        const char first = from[0];
        const char middle = from[size / 2];
        const char last = from[size - 1];
        to[0] = first;
        to[size / 2] = middle;
        to[size - 1] = last;
    }
}

// Whether the two texts hold the same bytes.
inline bool Equal(std::string_view left, std::string_view right) {
    const std::size_t size = left.size();
    if (size != right.size()) {
        return false;
    }
    const char* a = left.data();
    const char* b = right.data();
    if (size >= 8) {
        for (std::size_t at = 0; at + 8 < size; at += 8) {
            if (Load<std::uint64_t>(a + at) != Load<std::uint64_t>(b + at)) {
                return false;
            }
        }
        return Load<std::uint64_t>(a + size - 8) == Load<std::uint64_t>(b + size - 8);
    }
    if (size >= 4) {
        return Load<std::uint32_t>(a) == Load<std::uint32_t>(b) &&
               Load<std::uint32_t>(a + size - 4) == Load<std::uint32_t>(b + size - 4);
    }
    for (std::size_t at = 0; at < size; ++at) {
        if (a[at] != b[at]) {
            return false;
        }
    }
    return true;
}

}  // namespace shortbytes
