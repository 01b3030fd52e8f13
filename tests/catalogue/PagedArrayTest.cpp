#include "catalogue/PagedArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>
#include <string>

#include "platform/PageMemory.h"

namespace {

TEST(PageMemoryTest, LargeBlocksStartOnAHugePageBoundaryAndAreZeroFilled) {
    for (const std::size_t bytes : {std::size_t{1}, std::size_t{5000}, std::size_t{3} << 20}) {
        const platform::PageMemory memory(bytes);
        ASSERT_GE(memory.Size(), bytes);
        const auto* data = static_cast<const unsigned char*>(memory.Data());
        for (std::size_t at = 0; at < memory.Size(); at += 997) {
            ASSERT_EQ(data[at], 0) << at;
        }
        if (bytes >= (std::size_t{2} << 20)) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % (std::size_t{2} << 20), 0u);
        }
    }
    EXPECT_EQ(platform::PageMemory(0).Data(), nullptr);
}

TEST(PageMemoryTest, AnImpossibleSizeIsRefusedNotWrapped) {
    EXPECT_THROW(platform::PageMemory(std::numeric_limits<std::size_t>::max() - 10),
                 std::bad_alloc);
}

TEST(PagedArrayTest, GrowingPastTheExpectedSizeKeepsEveryValue) {
    for (const std::size_t expected : {std::size_t{0}, std::size_t{10}, std::size_t{100'000}}) {
        PagedArray<std::uint64_t> values(expected);
        for (std::uint64_t value = 0; value < 300'000; ++value) {
            values.PushBack(value * 7);
        }
        ASSERT_EQ(values.Size(), 300'000u);
        for (std::size_t index = 0; index < values.Size(); index += 1'009) {
            ASSERT_EQ(values[index], index * 7) << expected;
        }
        EXPECT_EQ(values[299'999], 299'999u * 7);
    }
}

TEST(PagedArrayTest, AppendedTextStaysBackToBack) {
    PagedArray<char> text(4);
    std::string expected;
    for (int i = 0; i < 2'000; ++i) {
        const std::string piece = "piece" + std::to_string(i);
        text.Append(piece.data(), piece.size());
        expected += piece;
    }
    EXPECT_EQ(std::string(text.Data(), text.Size()), expected);
}

TEST(PagedArrayTest, ACountThatCannotBeAddressedIsRefused) {
    PagedArray<std::uint64_t> values;
    values.PushBack(1);
    const std::uint64_t value = 2;
    // Kept from the compiler, which would otherwise reject the call outright.
    volatile std::size_t unaddressable = std::numeric_limits<std::size_t>::max() / 4;
    EXPECT_THROW(values.Append(&value, unaddressable), std::bad_alloc);
    EXPECT_EQ(values.Size(), 1u);
}

}  // namespace
