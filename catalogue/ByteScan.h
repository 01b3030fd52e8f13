// Where three byte values occur in a short stretch of text, found with a few
// vector compares instead of a search call per value: splitting a large data
// file needs the end, the commas and the quotes of every line, and most lines
// are short.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

// Bit i of `first` is set when byte i equals the first value looked for, and
// likewise for `second` and `third`.
struct ByteMasks {
    std::uint64_t first = 0;
    std::uint64_t second = 0;
    std::uint64_t third = 0;
};

// The stretch scanned at once. Reading it whole, whatever the line's length,
// keeps the scan free of branches; the caller keeps this many bytes readable
// after the start of every line and drops the bits past the line's end.
constexpr std::size_t kByteMaskWidth = 64;

// The masks of the kByteMaskWidth bytes at `bytes`, all of which must be
// readable.
inline ByteMasks FindBytes(const char* bytes, char first, char second, char third) {
    ByteMasks masks;
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i wantFirst = _mm_set1_epi8(first);
    const __m128i wantSecond = _mm_set1_epi8(second);
    const __m128i wantThird = _mm_set1_epi8(third);
    for (std::size_t at = 0; at < kByteMaskWidth; at += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        const auto matches = [&chunk](__m128i wanted) {
            return static_cast<std::uint64_t>(
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted))));
        };
        masks.first |= matches(wantFirst) << at;
        masks.second |= matches(wantSecond) << at;
        masks.third |= matches(wantThird) << at;
    }
#else
    for (std::size_t at = 0; at < kByteMaskWidth; ++at) {
        masks.first |= std::uint64_t{bytes[at] == first} << at;
        masks.second |= std::uint64_t{bytes[at] == second} << at;
        masks.third |= std::uint64_t{bytes[at] == third} << at;
    }
#endif
    return masks;
}
