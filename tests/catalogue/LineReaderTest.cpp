#include "catalogue/LineReader.h"

#include <gtest/gtest.h>

#include <span>
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
    ForEachLineBlock(*file, [&lines](std::span<const std::string_view> block) {
        lines.insert(lines.end(), block.begin(), block.end());
    });
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
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinesOf(c.bytes), c.expected) << c.name;
    }
}

TEST(LineReaderTest, ReadsLinesLongerThanItsBuffer) {
    const std::string longLine(5'000'000, 'x');
    const Lines lines = LinesOf("short\n" + longLine + "\r\nend");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "short");
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(lines[2], "end");
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

TEST(LineReaderTest, TextBlocksAreRunsOfWholeLinesThatAddUpToTheText) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;  // what the blocks add up to
    };
    std::string manyLines;
    for (int i = 0; i < 50'000; ++i) {
        manyLines += "Zone" + std::to_string(i) + ",Place\r\n";
    }
    const std::string longLine(300'000, 'y');
    const Case cases[] = {
        {"many_chunks", manyLines, manyLines},
        {"long_line_between_short_ones", "a\n" + longLine + "\nb", "a\n" + longLine + "\nb"},
        {"ctrl_z_ends_the_text", manyLines + "x\x1Ay\n", manyLines + "x"},
        {"empty_file", "", ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto file = platform::SharedReadFile::Open(dir.Write("file", c.bytes));
        ASSERT_TRUE(file.has_value());
        std::string joined;
        std::size_t blocks = 0;
        ForEachTextBlock(*file, [&](std::string_view text) {
            EXPECT_FALSE(text.empty()) << c.name;
            joined += text;
            ++blocks;
            // Only the end of the text may cut a line short.
            if (joined.size() < c.text.size()) {
                EXPECT_EQ(text.back(), '\n') << c.name;
            }
        });
        EXPECT_EQ(joined, c.text) << c.name;
        if (c.bytes.size() > 4 * detail::kReadChunk) {
            EXPECT_GT(blocks, 1u) << c.name;  // a block at a time, not the whole file
        }
    }
}

TEST(LineReaderTest, ReadingAtAnOffsetLeavesTheSequentialPositionAlone) {
    TempDir dir;
    auto file = platform::SharedReadFile::Open(dir.Write("file", "0123456789"));
    ASSERT_TRUE(file.has_value());
    char buffer[16] = {};
    ASSERT_EQ(file->ReadAt(4, buffer, 3), 3u);
    EXPECT_EQ(std::string_view(buffer, 3), "456");
    EXPECT_EQ(file->ReadAt(8, buffer, sizeof buffer), 2u);  // only what the file holds
    EXPECT_EQ(file->ReadAt(10, buffer, sizeof buffer), 0u);
    EXPECT_EQ(file->ReadAt(std::uint64_t{1} << 63, buffer, sizeof buffer), 0u);
    ASSERT_EQ(file->Read(buffer, 4), 4u);
    EXPECT_EQ(std::string_view(buffer, 4), "0123");
}

TEST(LineReaderTest, AFileRangeYieldsItsPartAndReportsACtrlZ) {
    std::string bytes;
    for (int i = 0; i < 100'000; ++i) {
        bytes += "line " + std::to_string(i) + "\n";
    }
    const std::size_t middle = bytes.find('\n', bytes.size() / 2) + 1;
    TempDir dir;
    auto file = platform::SharedReadFile::Open(dir.Write("file", bytes + "\x1A" + "hidden\n"));
    ASSERT_TRUE(file.has_value());
    const auto readRange = [&](std::uint64_t begin, std::uint64_t end, bool& ctrlZ) {
        FileRange range(*file, begin, end);
        std::string text;
        ctrlZ = ForEachTextBlock(range, [&text](std::string_view block) { text += block; });
        return text;
    };
    bool ctrlZ = true;
    EXPECT_EQ(readRange(0, middle, ctrlZ), bytes.substr(0, middle));
    EXPECT_FALSE(ctrlZ);
    EXPECT_EQ(readRange(middle, FileRange::kToTheEnd, ctrlZ), bytes.substr(middle));
    EXPECT_TRUE(ctrlZ);
    EXPECT_EQ(readRange(bytes.size() + 100, FileRange::kToTheEnd, ctrlZ), "");
    EXPECT_FALSE(ctrlZ);
}

}  // namespace
