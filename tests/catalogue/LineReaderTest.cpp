#include "catalogue/LineReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace {

std::vector<std::string> LinesOf(std::string_view bytes) {
    TempDir dir;
    const auto path = dir.Write("file", bytes);
    auto file = platform::SharedReadFile::Open(path);
    EXPECT_TRUE(file.has_value());
    std::vector<std::string> lines;
    ForEachLine(*file, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReaderTest, SplitsLikeTextModeReading) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines expected;
    };
    const Case cases[] = {
        {"lf", "a\nb\n", {"a", "b"}},
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"last_line_without_lf", "a\nb", {"a", "b"}},
        {"empty_lines_are_lines", "\n\na\n", {"", "", "a"}},
        {"lone_cr_stays", "a\rb\n", {"a\rb"}},
        {"ctrl_z_ends_the_text",
         "a\nb\x1A"
         "c\nd\n",
         {"a", "b"}},
        {"ctrl_z_at_line_start",
         "a\n\x1A"
         "b\n",
         {"a"}},
        {"nul_bytes_are_kept", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
        {"empty_file", "", {}},
        {"only_lf", "\n", {""}},
        // Reading goes a block at a time; neither a CR LF nor a line may be
        // cut where one block ends.
        {"crlf_across_a_block_end",
         std::string(65'535, 'a') + "\r\nb",
         {std::string(65'535, 'a'), "b"}},
        {"line_longer_than_a_block",
         "short\n" + std::string(5'000'000, 'x') + "\r\nend",
         {"short", std::string(5'000'000, 'x'), "end"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinesOf(c.bytes), c.expected) << c.name;
    }
}

TEST(LineReaderTest, LinesAcrossManyChunksKeepTheirOrder) {
    std::string bytes;
    Lines expected;
    for (int i = 0; i < 200'000; ++i) {
        expected.push_back("line number " + std::to_string(i));
        bytes += expected.back() + (i % 2 == 0 ? "\n" : "\r\n");
    }
    EXPECT_EQ(LinesOf(bytes), expected);
}

}  // namespace
