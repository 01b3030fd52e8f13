#include "catalogue/FieldReader.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Fields(std::string_view line, std::size_t count) {
    FieldCursor cursor{line};
    std::vector<std::string> fields;
    std::string field;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t length = NextField(cursor, field);
        EXPECT_EQ(length, field.size());
        fields.push_back(field);
    }
    EXPECT_LE(cursor.position, line.size());
    return fields;
}

struct FieldCase {
    const char* name;
    std::string_view line;
    std::vector<std::string> expected;
};

void PrintTo(const FieldCase& c, std::ostream* out) {
    *out << c.name;
}

class NextFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(NextFieldTest, SplitsAsTheDataFilesAreWritten) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(Fields(c.line, c.expected.size()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tokenizer, NextFieldTest,
    ::testing::Values(
        FieldCase{"plain", "a,b,c", {"a", "b", "c", ""}},
        FieldCase{"comma_inside_quotes",
                  R"("Example Zone, North",Example label)",
                  {"Example Zone, North", "Example label", ""}},
        FieldCase{"text_after_closing_quote_starts_next_field", R"("Zone"X,Y)", {"Zone", "X", "Y"}},
        FieldCase{"doubled_quote_is_no_escape", R"("A""B",)", {"A", "B", ""}},
        FieldCase{"unterminated_quote_takes_the_rest",
                  R"("never closed, still here,60)",
                  {"never closed, still here,60", "", ""}},
        FieldCase{"blanks_are_kept", " a , b", {" a ", " b"}},
        FieldCase{"quote_inside_a_field_is_ordinary", R"(x"y,z)", {"x\"y", "z"}},
        FieldCase{"only_commas", ",,", {"", "", "", ""}},
        FieldCase{"empty_quoted_field", R"("",x)", {"", "x"}},
        FieldCase{"lone_quote", "\"", {"", ""}}, FieldCase{"empty_line", "", {"", "", ""}},
        FieldCase{"nul_bytes_are_ordinary",
                  std::string_view("a\0b,c", 5),
                  {std::string("a\0b", 3), "c"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* name;
    std::string_view line;
    std::vector<std::int32_t> expected;
};

void PrintTo(const NumberCase& c, std::ostream* out) {
    *out << c.name;
}

class ReadNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumberTest, ReadsAsStrtolThenSkipsToTheNextComma) {
    const NumberCase& c = GetParam();
    FieldCursor cursor{c.line};
    std::vector<std::int32_t> numbers;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
        numbers.push_back(ReadNumber(cursor));
    }
    EXPECT_EQ(numbers, c.expected);
}

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Numbers, ReadNumberTest,
    ::testing::Values(NumberCase{"plain", "60,5", {60, 5}},
                      NumberCase{"trailing_letters", "60min,5", {60, 5}},
                      NumberCase{"leading_blanks_and_tab", "  \t60,5", {60, 5}},
                      NumberCase{"negative", "-300,+7", {-300, 7}},
                      NumberCase{"empty_field", ",5", {0, 5}},
                      NumberCase{"quoted_number_reads_zero", R"("60",5)", {0, 5}},
                      NumberCase{"comma_in_quotes_ends_the_number", R"("6,0",7)", {0, 0, 7}},
                      NumberCase{"sign_without_digits", "-,5", {0, 5}},
                      NumberCase{"blank_between_sign_and_digits", "- 5,6", {0, 6}},
                      NumberCase{"past_the_end", "1", {1, 0, 0}},
                      NumberCase{"clamped_high", "99999999999,1", {kMax, 1}},
                      NumberCase{"clamped_low", "-99999999999,1", {kMin, 1}},
                      NumberCase{"exact_limits", "2147483647,-2147483648", {kMax, kMin}},
                      NumberCase{"one_beyond_limits", "2147483648,-2147483649", {kMax, kMin}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadRuleTest, ReadsSevenNumbersInFieldOrderAndLeavesTheCursorAfterThem) {
    FieldCursor cursor{"60,10,0,1,5,3,0,rest"};
    TransitionRule rule;
    ReadRule(cursor, rule);
    EXPECT_EQ(rule, (TransitionRule{60, 10, 0, 1, 5, 3, 0}));
    std::string field;
    NextField(cursor, field);
    EXPECT_EQ(field, "rest");
}

TEST(ReadRuleTest, NarrowsToTheStoredWidths) {
    struct Case {
        std::string_view line;
        TransitionRule expected;
    };
    const Case cases[] = {
        {"65596", {60, 0, 0, 0, 0, 0, 0}},           // 60 + 65536 keeps its low 16 bits
        {"-65476", {60, 0, 0, 0, 0, 0, 0}},          // 60 - 65536 as well
        {"32768", {-32768, 0, 0, 0, 0, 0, 0}},       // low 16 bits read as signed
        {"0,-1", {0, 255, 0, 0, 0, 0, 0}},           // -1 for month becomes 255
        {"0,0,0,0,0,300", {0, 0, 0, 0, 0, 44, 0}},   // 300 for hour becomes 44
        {"0,0,0,0,0,0,256", {0, 0, 0, 0, 0, 0, 0}},  // 256 for minute wraps to 0
        {"99999999999,1", {-1, 1, 0, 0, 0, 0, 0}},   // clamped to INT32_MAX, then narrowed
    };
    for (const Case& c : cases) {
        FieldCursor cursor{c.line};
        TransitionRule rule;
        ReadRule(cursor, rule);
        EXPECT_EQ(rule, c.expected) << c.line;
    }
}

TEST(ParseLocationLineTest, SplitsZoneAndPlaceAndTellsWhetherBothAreThere) {
    struct Case {
        std::string_view line;
        std::string zone;
        std::string place;
        bool binds;
    };
    const Case cases[] = {
        {"Europe/Berlin,Berlin", "Europe/Berlin", "Berlin", true},
        {R"("Example Zone, North",Sample City)", "Example Zone, North", "Sample City", true},
        {R"(Zone,"Washington, D.C.",ignored)", "Zone", "Washington, D.C.", true},
        {"Zone , Place", "Zone ", " Place", true},
        {"Zone,", "Zone", "", false},
        {",Place", "", "Place", false},
        {"", "", "", false},
        {"Zone", "Zone", "", false},
    };
    for (const Case& c : cases) {
        std::string_view zone = "stale";
        std::string_view place = "stale";
        EXPECT_EQ(ParseLocationLine(c.line, zone, place), c.binds) << c.line;
        EXPECT_EQ(zone, c.zone) << c.line;
        EXPECT_EQ(place, c.place) << c.line;
    }
}

}  // namespace
