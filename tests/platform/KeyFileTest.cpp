#include "platform/KeyFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/TempDir.h"

namespace {

using platform::KeyFileGroup;
using platform::ParseKeyFileGroup;
using platform::ReadKeyFileGroup;

const char* const kEntry =
    "# a comment\n"
    "[Desktop Action new-window]\n"
    "Exec=wrong --from-the-action %u\n"
    "\n"
    "[Desktop Entry]\n"
    "Name = Web Browser \n"
    "Name[de]=Netzbrowser\n"
    "Exec=browser\\s--flag \"a\\\\b\" \\q %u\r\n"
    "Exec=second --is-ignored\n"
    "  Icon=web-browser\n"
    "not a key line\n"
    "=no key\n"
    "Comment=tab\\there\\nnewline\n"
    "Path= \t\r\n"
    "[Other]\n"
    "Icon=from-another-group\n";

TEST(KeyFileTest, ReadsTheKeysOfOneGroupWithEscapesResolved) {
    const KeyFileGroup expected{
        {"Name", "Web Browser"},
        {"Name[de]", "Netzbrowser"},
        // \s and \\ are resolved; \q is left for the rules that read the value next.
        {"Exec", "browser --flag \"a\\b\" \\q %u"},
        {"Icon", "web-browser"},
        {"Comment", "tab\there\nnewline"},
        {"Path", ""},
    };
    EXPECT_EQ(ParseKeyFileGroup(kEntry, "Desktop Entry"), expected);
    EXPECT_EQ(ParseKeyFileGroup(kEntry, "Other"), (KeyFileGroup{{"Icon", "from-another-group"}}));
    EXPECT_TRUE(ParseKeyFileGroup(kEntry, "Missing").empty());
    EXPECT_TRUE(ParseKeyFileGroup("", "Desktop Entry").empty());
    EXPECT_TRUE(ParseKeyFileGroup("[Desktop Entry", "Desktop Entry").empty());
}

TEST(KeyFileTest, AFileThatIsNoKeyFileReadsAsNothing) {
    const TempDir dir;
    EXPECT_FALSE(ReadKeyFileGroup(dir.Path() / "missing.desktop", "Desktop Entry").has_value());
    EXPECT_FALSE(ReadKeyFileGroup(dir.Path(), "Desktop Entry").has_value());

    const std::string big =
        "[Desktop Entry]\nExec=b\n" + std::string(platform::kMaxKeyFileSize, '#');
    EXPECT_FALSE(ReadKeyFileGroup(dir.Write("big.desktop", big), "Desktop Entry").has_value());

    // A FIFO without a writer must neither block nor count as a file.
    const std::filesystem::path fifo = dir.Path() / "fifo.desktop";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadKeyFileGroup(fifo, "Desktop Entry").has_value());

    const std::optional<KeyFileGroup> read =
        ReadKeyFileGroup(dir.Write("ok.desktop", kEntry), "Desktop Entry");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->at("Icon"), "web-browser");
}

TEST(KeyFileTest, ListValuesSplitAtSemicolons) {
    using List = std::vector<std::string>;
    EXPECT_EQ(platform::SplitListValue("a.desktop;b.desktop;"), (List{"a.desktop", "b.desktop"}));
    EXPECT_EQ(platform::SplitListValue(" a.desktop ;; b.desktop"),
              (List{"a.desktop", "b.desktop"}));
    EXPECT_EQ(platform::SplitListValue("only.desktop"), List{"only.desktop"});
    EXPECT_TRUE(platform::SplitListValue(";;").empty());
    EXPECT_EQ(platform::SplitListValue("a.desktop; \r"), List{"a.desktop"});
}

}  // namespace
