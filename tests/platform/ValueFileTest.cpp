#include "platform/ValueFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::StoredValue;
using platform::ValueFile;

std::vector<std::byte> Bytes(std::initializer_list<int> values) {
    std::vector<std::byte> bytes;
    for (int value : values) {
        bytes.push_back(static_cast<std::byte>(value));
    }
    return bytes;
}

struct ReadCase {
    const char* line;
    const char* name;
    StoredValue value;
};

TEST(ValueFileTest, ReadsEveryLineForm) {
    const ReadCase cases[] = {
        {R"("timezones_Base_Location"=dword:00000005)",
         "timezones_Base_Location",
         {platform::REG_DWORD, Bytes({5, 0, 0, 0})}},
        {R"("n"=dword:FFFFFFFF)", "n", {platform::REG_DWORD, Bytes({255, 255, 255, 255})}},
        {"  \"n\" =\tdword:c  ", "n", {platform::REG_DWORD, Bytes({12, 0, 0, 0})}},
        {R"("n"="Text")", "n", {platform::REG_SZ, Bytes({'T', 'e', 'x', 't', 0})}},
        {R"("n"="")", "n", {platform::REG_SZ, Bytes({0})}},
        {R"("a\"b\\c"="q\"\\")", "a\"b\\c", {platform::REG_SZ, Bytes({'q', '"', '\\', 0})}},
        {R"("n"=hex:01,fF, 80)", "n", {platform::REG_BINARY, Bytes({1, 255, 128})}},
        {R"("n"=hex:)", "n", {platform::REG_BINARY, {}}},
        {R"("n"=hex(b):01,00,00,00,00,00,00,00)",
         "n",
         {platform::REG_QWORD, Bytes({1, 0, 0, 0, 0, 0, 0, 0})}},
        {R"(@=dword:00000001)", "", {platform::REG_DWORD, Bytes({1, 0, 0, 0})}},
        {"\"caf\xC3\xA9\"=dword:2", "caf\xC3\xA9", {platform::REG_DWORD, Bytes({2, 0, 0, 0})}},
    };
    for (const ReadCase& c : cases) {
        const std::optional<ValueFile> file =
            ValueFile::Parse("; comment\n\n" + std::string(c.line) + "\n");
        ASSERT_TRUE(file) << c.line;
        const StoredValue* value = file->Find(c.name);
        ASSERT_NE(value, nullptr) << c.line;
        EXPECT_EQ(*value, c.value) << c.line;
    }
}

TEST(ValueFileTest, RefusesWhatIsNotASettingsFile) {
    const std::string cases[] = {
        "\"n\"=dword:000000005\n",                   // nine digits
        "\"n\"=dword:\n",                            // no digits
        "\"n\"=dword:0x5\n",                         // not hex
        "\"n\"=dword:5 trailing\n",                  // something after the value
        "\"n\"=hex:1,02\n",                          // one digit
        "\"n\"=hex:01,\\\n  02\n",                   // continued line
        "\"n\"=hex(zz):01\n",                        // type not hex
        "\"n\"=\"open\n",                            // unterminated text
        "\"n\\x\"=dword:1\n",                        // unknown escape
        "\"n\" dword:1\n",                           // no '='
        "n=dword:1\n",                               // unquoted name
        "[HKEY_CURRENT_USER\\Software]\n",           // section line
        "\"n\"=-\n",                                 // deletion mark
        "\"n\"=dword:1\n\"N\"=dword:2\n",            // the same name twice
        std::string("\"n\"=dword:1\n\0", 13),        // a NUL byte
        "\"n\"=\"a\rb\"\n",                          // a lone CR
        "\"n\"=\"\x1B\"\n",                          // an escape character
        std::string(ValueFile::kMaxSize + 1, '\n'),  // too large
    };
    for (const std::string& text : cases) {
        EXPECT_FALSE(ValueFile::Parse(text)) << text.substr(0, 40);
    }
    EXPECT_TRUE(ValueFile::Parse(std::string(ValueFile::kMaxSize, '\n')));
    EXPECT_TRUE(ValueFile::Parse(""));
}

TEST(ValueFileTest, SettingAValueKeepsEveryOtherLineByteForByte) {
    const std::string text =
        "; kept\r\n"
        "\"Other\"=\"x\"\r\n"
        "  \"TIMEZONES_BASE_LOCATION\" = dword:1  \r\n"
        "\"Blob\"=hex:01,02\r\n";
    std::optional<ValueFile> file = ValueFile::Parse(text);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->SetDword("timezones_Base_Location", 0xFFFFFFFF));
    ASSERT_TRUE(file->SetDword("timezones_Remote_Location", 12));
    EXPECT_EQ(file->Text(),
              "; kept\r\n"
              "\"Other\"=\"x\"\r\n"
              "\"timezones_Base_Location\"=dword:ffffffff\r\n"
              "\"Blob\"=hex:01,02\r\n"
              "\"timezones_Remote_Location\"=dword:0000000c\r\n");

    // What is written reads back as it was set.
    const std::optional<ValueFile> again = ValueFile::Parse(file->Text());
    ASSERT_TRUE(again);
    EXPECT_EQ(*again->Find("timezones_remote_location"),
              (StoredValue{platform::REG_DWORD, Bytes({12, 0, 0, 0})}));
    EXPECT_EQ(again->Find("Other")->type, platform::REG_SZ);
}

TEST(ValueFileTest, NamesAreQuotedSoTheyReadBack) {
    ValueFile file = *ValueFile::Parse("");
    for (const std::string name : {"a\"b", "back\\slash", "", "=;[] "}) {
        ASSERT_TRUE(file.SetDword(name, 7)) << name;
        const std::optional<ValueFile> again = ValueFile::Parse(file.Text());
        ASSERT_TRUE(again) << file.Text();
        ASSERT_NE(again->Find(name), nullptr) << name;
        EXPECT_EQ(again->Find(name)->data, Bytes({7, 0, 0, 0}));
    }
    EXPECT_FALSE(file.SetDword("line\nbreak", 1));
    EXPECT_EQ(file.Find("line\nbreak"), nullptr);
}

}  // namespace
