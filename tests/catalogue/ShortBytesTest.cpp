#include "catalogue/ShortBytes.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/ByteScan.h"

namespace {

// Sizes around every piece width the helpers switch between.
constexpr std::size_t kLargestSize = 40;

std::string Pattern(std::size_t size, char first) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += static_cast<char>(first + i % 23);
    }
    return text;
}

TEST(ShortBytesTest, CopyWritesExactlyTheBytesAskedFor) {
    for (std::size_t size = 0; size <= kLargestSize; ++size) {
        const std::string from = Pattern(size, 'a');
        std::string to(size + 16, '#');
        shortbytes::Copy(to.data() + 8, from.data(), size);
        EXPECT_EQ(to, std::string(8, '#') + from + std::string(8, '#')) << "size " << size;
    }
}

TEST(ShortBytesTest, EqualNoticesADifferenceAtEveryByteAndInLength) {
    for (std::size_t size = 0; size <= kLargestSize; ++size) {
        const std::string text = Pattern(size, 'a');
        EXPECT_TRUE(shortbytes::Equal(text, std::string(text))) << "size " << size;
        EXPECT_FALSE(shortbytes::Equal(text, text + "x")) << "size " << size;
        for (std::size_t at = 0; at < size; ++at) {
            std::string changed = text;
            changed[at] = '!';
            EXPECT_FALSE(shortbytes::Equal(text, changed)) << "size " << size << ", byte " << at;
        }
    }
}

TEST(ByteScanTest, MasksMarkEveryWantedByteAndNoOther) {
    // Each wanted byte at every position, among bytes that only look alike
    // in some bits (',' is 0x2C, '"' is 0x22, '\n' is 0x0A; 0xAC, 0xA2 and
    // 0x8A differ from them only in the top bit).
    std::string text(kByteMaskWidth, 'x');
    for (std::size_t at = 0; at < text.size(); ++at) {
        text[at] = "x,\"\n\xAC\xA2\x8A\0"[at % 8 + at / 8 % 2];
    }
    const ByteMasks masks = FindBytes(text.data(), '\n', ',', '"');
    for (std::size_t at = 0; at < text.size(); ++at) {
        EXPECT_EQ((masks.first >> at) & 1, text[at] == '\n' ? 1u : 0u) << at;
        EXPECT_EQ((masks.second >> at) & 1, text[at] == ',' ? 1u : 0u) << at;
        EXPECT_EQ((masks.third >> at) & 1, text[at] == '"' ? 1u : 0u) << at;
    }
}

}  // namespace
