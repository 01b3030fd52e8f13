#include "catalogue/StringArrayPlus.h"

#include <gtest/gtest.h>

#include <clocale>
#include <stdexcept>
#include <string>

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

class StringArrayPlusTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Collation and case folding of non-ASCII text need a UTF-8 locale;
        // C.UTF-8 is present on every Debian machine.
        ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }

    static int Compare(const char* element, const char* text, unsigned flags) {
        CStringArrayPlus array;
        array.Add(element);
        return Sign(array.CompareAt(0, text, flags));
    }
};

TEST_F(StringArrayPlusTest, KeepsElementsInAppendOrder) {
    CStringArrayPlus array;
    array.Add("b");
    array.Add("a");
    array.Add("b");
    ASSERT_EQ(array.GetCount(), 3u);
    EXPECT_EQ(array.GetAt(0), "b");
    EXPECT_EQ(array[1], "a");
    EXPECT_EQ(array.GetAt(2), "b");
    EXPECT_THROW(static_cast<void>(array.GetAt(3)), std::out_of_range);
}

TEST_F(StringArrayPlusTest, CompareAtHonoursEachFlag) {
    struct Case {
        const char* element;
        const char* text;
        unsigned flags;
        int expected;
    };
    const Case cases[] = {
        {"apple", "Banana", 0, -1},  // case-insensitive byte order
        {"apple", "Banana", 1, +1},  // descending
        {"apple", "Banana", 2, +1},  // case-sensitive: upper case sorts first
        {"apple", "Banana", 3, -1},  // case-sensitive and descending
        {"apple", "Banana", 4, -1},  // collation without case
        {"apple", "APPLE", 0, 0},
        {"apple", "APPLE", 2, +1},
        {"apple", "APPLE", 4, 0},
        {"apple", "APPLE", 6, +1},
        {"apple", "apples", 0, -1},
        {"", "", 0, 0},
        {"", "a", 2, -1},
        // Byte order folds ASCII only; collation folds every letter.
        {"\xC3\x89"
         "clair",
         "\xC3\xA9"
         "clair",
         0, -1},  // "Éclair" vs "éclair"
        {"\xC3\x89"
         "clair",
         "\xC3\xA9"
         "clair",
         4, 0},
        {"\xC3\x89"
         "clair",
         "\xC3\xA9"
         "clair",
         5, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Compare(c.element, c.text, c.flags), c.expected)
            << c.element << " vs " << c.text << " flags " << c.flags;
    }
}

TEST_F(StringArrayPlusTest, CollationToleratesUndecodableBytes) {
    EXPECT_EQ(Compare("\xFF\xFE", "\xFF\xFE", 4), 0);
    EXPECT_NE(Compare("\xFF", "\xFE", 4), 0);
}

TEST_F(StringArrayPlusTest, NullTextIsRefused) {
    CStringArrayPlus array;
    array.Add("a");
    EXPECT_THROW(static_cast<void>(array.CompareAt(0, nullptr, 2)), std::invalid_argument);
}

// CompareItems goes through the virtual CompareAt, so a subclass's order wins.
class ReverseLengthArray : public CStringArrayPlus {
public:
    int CompareAt(std::size_t index, const char* text, unsigned) const override {
        return static_cast<int>(std::string_view(text).size()) -
               static_cast<int>(GetAt(index).size());
    }
};

TEST_F(StringArrayPlusTest, CompareItemsUsesTheOverride) {
    // By bytes "a" sorts before "bbb"; the override puts longer texts first.
    ReverseLengthArray array;
    array.Add("a");
    array.Add("bbb");
    EXPECT_GT(array.CompareItems(0, 1, 0), 0);

    CStringArrayPlus plain;
    plain.Add("a");
    plain.Add("bbb");
    EXPECT_LT(plain.CompareItems(0, 1, 0), 0);
    EXPECT_GT(plain.CompareItems(1, 0, 0), 0);
    EXPECT_GT(plain.CompareItems(0, 1, 1), 0);
}

}  // namespace
