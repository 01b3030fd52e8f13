// olvanta-cli fed data files that cannot be read or hold no proper text, and
// times at the ends of the calendar: it answers with the documented exit
// status and message, prints names byte for byte as the lists show them, and
// never hangs or crashes. The last tests run the installed program itself.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/LoadCatalogue.h"
#include "cli/CliFixture.h"
#include "cli/CliOptions.h"
#include "cli/RunCli.h"
#include "olvanta/Config.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kTimezonesError =
    "Timezones data could not be retreived! For support please visit "s + OLVANTA_SUPPORT_URL +
    "\n";
const std::string kLocationsError =
    "Locations data could not be retreived! For support please visit "s + OLVANTA_SUPPORT_URL +
    "\n";

constexpr std::string_view kZones =
    "Europe/Berlin,,,60,10,0,1,5,3,0,60,3,0,1,5,2,0\n"
    "America/New_York,,,-300,11,0,1,1,2,0,60,3,0,1,2,2,0\n"
    "Asia/Kolkata,,,330\n";
constexpr std::string_view kPlaces =
    "Europe/Berlin,Berlin\n"
    "America/New_York,New York\n"
    "Asia/Kolkata,Kolkata\n";

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CliRobustnessTest : public CliFixture {
protected:
    CliRobustnessTest() { WriteData(kZones, kPlaces); }
};

TEST_F(CliRobustnessTest, ADataFileThatCannotBeReadEndsWithStatusOneAndTheMessage) {
    struct Case {
        const char* name;
        const char* file;
        std::function<void(const fs::path&)> spoil;
        const char* reason;
    };
    const Case cases[] = {
        {"missing", kLocationsFileName, [](const fs::path& file) { fs::remove(file); },
         "No such file or directory"},
        {"directory", kZoneFileName,
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_directory(file);
         },
         "Is a directory"},
        {"fifo_without_a_writer", kZoneFileName,
         [](const fs::path& file) {
             fs::remove(file);
             ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
         },
         "not a regular file"},
        {"link_to_an_endless_device", kLocationsFileName,
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_symlink("/dev/zero", file);
         },
         "not a regular file"},
    };
    for (const Case& c : cases) {
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"--list"}, std::vector<std::string>{"Berlin", "Kolkata"}}) {
            WriteData(kZones, kPlaces);
            c.spoil(m_data.Path() / c.file);
            EXPECT_EQ(Run(arguments), kCliDataUnreadable) << c.name;
            const std::string& message =
                std::string_view(c.file) == kZoneFileName ? kTimezonesError : kLocationsError;
            EXPECT_EQ(m_err.str(), message + "olvanta-cli: " + (m_data.Path() / c.file).string() +
                                       ": " + c.reason + "\n")
                << c.name;
            EXPECT_EQ(m_out.str(), "") << c.name;
        }
    }
}

TEST_F(CliRobustnessTest, NamesThatAreNoProperTextArePrintedAsTheListsShowThem) {
    struct Case {
        const char* name;
        std::string zones;
        std::string places;
        std::string listed;  // --list, in list order
    };
    const std::string replacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
    std::string duplicates;
    for (int i = 0; i < 1000; ++i) {
        duplicates += "Dup,,," + std::to_string(60 + i) + "\n";
    }
    const Case cases[] = {
        {"empty_files", "", "", "UTC\n"},
        {"nul_bytes", "Z\0,,,60\n"s, "Z\0,A\0b\n"s, "A\0b\nUTC\n"s},
        {"not_utf8", "Z,,,60\n", "Z,Caf\xE9\n", "Caf" + replacement + "\nUTC\n"},
        {"every_zone_name_a_duplicate", duplicates, "Dup,Here\n", "Here\nUTC\n"},
    };
    for (const Case& c : cases) {
        WriteData(c.zones, c.places);
        EXPECT_EQ(Run({"--list"}), kCliSuccess) << c.name;
        EXPECT_EQ(m_out.str(), c.listed) << c.name;
        EXPECT_EQ(m_err.str(), "") << c.name;
    }

    // A name that is not UTF-8 can be typed back as it is listed, or as the
    // bytes of the file.
    WriteData("Z,,,60\n", "Z,Caf\xE9\n");
    for (const std::string& typed : {"Caf\xE9"s, "caf" + replacement}) {
        EXPECT_EQ(Run({"--at", "2026-07-01T12:00", "UTC", typed}), kCliSuccess) << typed;
        EXPECT_EQ(m_out.str(),
                  "Base location:\nRemote location: GMT+1\n"
                  "13:00\n\n07.01.2026, Wednesday \n\nTime difference : \n"
                  "Time difference at the entered time : \n");
    }

    // The first of 1000 lines named "Dup" holds.
    WriteData(duplicates, "Dup,Here\n");
    EXPECT_EQ(Run({"--at", "2026-07-01T12:00", "UTC", "Here"}), kCliSuccess);
    EXPECT_EQ(m_out.str().substr(0, 43), "Base location:\nRemote location: GMT+1\n13:00");
}

TEST_F(CliRobustnessTest, GarbageAndAFiftyMegabyteLineStillConvert) {
    std::mt19937 generator(1234);
    std::string garbage;
    for (int i = 0; i < 200'000; ++i) {
        garbage += static_cast<char>(generator() & 0xFF);
    }
    const std::string lines = "Europe/Berlin,Berlin\n" + garbage;
    WriteData("Europe/Berlin,,,60,10,0,1,5,3,0,60,3,0,1,5,2,0\n" + garbage, lines);
    EXPECT_EQ(Run({"--list"}), kCliSuccess);
    EXPECT_EQ(m_err.str(), "");
    EXPECT_EQ(Run({"--at", "2026-07-01T12:00", "Berlin", "UTC"}), kCliSuccess);
    EXPECT_EQ(m_out.str(),
              "Base location: GMT+1   DST:1\nRemote location:\n"
              "10:00\n\n07.01.2026, Wednesday \n\nTime difference : \n"
              "Time difference at the entered time : \n");

    WriteData("Europe/Berlin," + std::string(50'000'000, 'x') + ",remark,60\n",
              "Europe/Berlin,Berlin\n");
    EXPECT_EQ(Run({"--at", "2026-01-01T12:00", "Berlin", "UTC"}), kCliSuccess);
    EXPECT_EQ(m_out.str().rfind("Base location: GMT+1\nRemote location:\n11:00\n\n01.01.2026", 0),
              0u)
        << m_out.str();
}

// The program as installed, with its own data directory: nothing may make it
// wait on a FIFO, and what it prints reaches the terminal byte for byte.
class CliProgramTest : public ::testing::Test {
protected:
    // Standard output goes to `out`, or to a file that Out() reads.
    int RunCliProgram(const std::vector<std::string>& arguments, const std::string& out = "") {
        std::vector<std::string> all{"--data-dir", m_data.Path().string()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        fs::remove(m_output.Path() / "out");
        return RunProgram(OLVANTA_CLI_PROGRAM, all,
                          {out.empty() ? (m_output.Path() / "out").string() : out,
                           (m_output.Path() / "err").string()});
    }
    std::string Out() const { return ReadFile(m_output.Path() / "out"); }
    std::string Err() const { return ReadFile(m_output.Path() / "err"); }

    TempDir m_data;
    TempDir m_output;
};

TEST_F(CliProgramTest, AFifoInPlaceOfADataFileIsRefusedAtOnce) {
    m_data.Write(kZoneFileName, kZones);
    ASSERT_EQ(::mkfifo((m_data.Path() / kLocationsFileName).c_str(), 0644), 0);
    EXPECT_EQ(RunCliProgram({"--list"}), kCliDataUnreadable);
    EXPECT_EQ(Err(), kLocationsError + "olvanta-cli: " +
                         (m_data.Path() / kLocationsFileName).string() + ": not a regular file\n");
    EXPECT_EQ(Out(), "");
}

TEST_F(CliProgramTest, NamesThatAreNotUtf8ArePrintedWithReplacementCharacters) {
    m_data.Write(kZoneFileName, "Z,,,60\n");
    m_data.Write(kLocationsFileName, "Z,Caf\xE9\nZ,Nul\0l\n"s);
    EXPECT_EQ(RunCliProgram({"--list"}), kCliSuccess);
    EXPECT_EQ(Out(), "Caf\xEF\xBF\xBD\nNul\0l\nUTC\n"s);
    EXPECT_EQ(Err(), "");
}

}  // namespace

// Every name is either matched as the caller wrote it, by a zone name, or by
// a beginning that is then reported; everything else fails with a status
// and a message.
TEST_F(CliProgramTest, EveryInvocationEndsWithItsStatusAndItsMessage) {
    m_data.Write(kZoneFileName, std::string(kZones) + "Europe/Zurich,,,60\n");
    m_data.Write(kLocationsFileName,
                 std::string(kPlaces) + "Europe/Berlin,Bern\nEurope/Zurich,Z\xC3\xBCrich\n");
    const auto usage = [](const std::string& message) {
        return "olvanta-cli: " + message + "\n" + kCliUsageText;
    };
    const std::string outOfCalendar =
        "olvanta-cli: the converted time falls outside the calendar's range (the years 1900 to "
        "65535)\n";
    const std::string before1900 =
        usage("--at needs a time as HH:MM, or a date and time from 1900 on as YYYY-MM-DDTHH:MM");
    const std::string diskFull = "olvanta-cli: cannot write output: No space left on device\n";
    const std::string at = "--at";
    const std::string july = "2026-07-01T12:00";
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string err;
        std::string outHas;    // for a result: a piece of it
        std::string out = "";  // where standard output goes; empty: a file
    };
    const Case cases[] = {
        {{at, july, "utc", "KOLKATA"}, kCliSuccess, "", "Remote location: GMT+5:30\n17:30\n"},
        {{at, july, "UTC", "America/New_York"}, kCliSuccess, "", "GMT-5   DST:1\n08:00\n"},
        {{at, july, "UTC", "america/new_york"},
         kCliUsage,
         "olvanta-cli: no place matches 'america/new_york'\n",
         ""},
        {{at, july, "UTC", "new y"},
         kCliSuccess,
         "olvanta-cli: 'new y' taken as 'New York'\n",
         "GMT-5   DST:1\n08:00\n"},
        {{at, july, "ber", "UTC"},
         kCliSuccess,
         "olvanta-cli: 'ber' taken as 'Bern'\n",
         "GMT+1   DST:1\n"},
        {{at, july, "UTC", "Nwe York"},
         kCliUsage,
         "olvanta-cli: no place matches 'Nwe York'\nolvanta-cli: did you mean: 'New York'\n",
         ""},
        {{at, july, "Zurich", "bernn"},
         kCliUsage,
         "olvanta-cli: no place matches 'Zurich'\nolvanta-cli: did you mean: 'Z\xC3\xBCrich'\n"
         "olvanta-cli: no place matches 'bernn'\nolvanta-cli: did you mean: 'Bern'\n",
         ""},
        {{at, july, "Qwerty", "UTC"}, kCliUsage, "olvanta-cli: no place matches 'Qwerty'\n", ""},
        // Longer than any place name: no suggestion, however close.
        {{at, july, "UTC", "Berlin" + std::string(59, 'x')},
         kCliUsage,
         "olvanta-cli: no place matches 'Berlin" + std::string(59, 'x') + "'\n",
         ""},
        {{at, july, "", "UTC"}, kCliUsage, "olvanta-cli: no place matches ''\n", ""},
        // 0x9B alone is a CSI to an 8-bit terminal; within "\xC4\x9B" (ě) it
        // is part of a letter.
        {{"UTC",
          "Q\x1B[2J\n\x7F\xC2\x9B\x9B"
          "2J\xE0\x9B\xC4\x9B"},
         kCliUsage,
         "olvanta-cli: no place matches 'Q\\e[2J\\n\\x7F\\xC2\\x9B\\x9B"
         "2J\xE0\\x9B\xC4\x9B'\n",
         ""},
        {{"--\x1B]0;x\x07"}, kCliUsage, usage("Unknown option '\\e]0;x\\x07'."), ""},
        {{"--bogus", "--help"}, kCliUsage, usage("Unknown option 'bogus'."), ""},
        {{"UTC", "UTC", "--now"}, kCliUsage, usage("Missing value after '--now'."), ""},
        {{at, "0000-01-01T00:00", "Berlin", "UTC"}, kCliUsage, before1900, ""},
        {{at, "1899-12-31T23:59", "UTC", "UTC"}, kCliUsage, before1900, ""},
        {{at, "1900-01-01T00:59", "Berlin", "UTC"}, kCliConversion, outOfCalendar, ""},
        {{at, "1900-01-01T01:00", "Berlin", "UTC"}, kCliSuccess, "", "00:00\n\n01.01.1900, Monday"},
        {{at, "9999-12-31T23:59", "Berlin", "Kolkata"},
         kCliSuccess,
         "",
         "04:29\n\n01.01.10000, Saturday"},
        {{"--now", "0000-01-01T00:00:00Z", at, july, "New York", "Kolkata"},
         kCliSuccess,
         "",
         "Time difference : 10:30\n"},
        {{at, july, at, july, "UTC", "UTC"}, kCliUsage, usage("--at is given twice"), ""},
        {{"--list", "--list"}, kCliUsage, usage("--list is given twice"), ""},
        {{"--list=foo"}, kCliUsage, usage("Unexpected value after '--list'."), ""},
        {{"--help=x"}, kCliUsage, usage("Unexpected value after '--help'."), ""},
        {{"--version=1"}, kCliUsage, usage("Unexpected value after '--version'."), ""},
        {{"--help", "--bogus"}, kCliSuccess, "", "\nOptions:\n  --at <TIME> "},
        // Every name that matches nothing is named, and nothing converted.
        {{at, july, "Qwerty", "Berlin", "Asdfgh", "new y"},
         kCliUsage,
         "olvanta-cli: no place matches 'Qwerty'\nolvanta-cli: no place matches 'Asdfgh'\n",
         ""},
        {{at, "1900-01-01T00:59", "Berlin", "Kolkata", "UTC"}, kCliConversion, outOfCalendar, ""},
        {{"--list"}, kCliWriteFailed, diskFull, "", "/dev/full"},
        {{at, july, "UTC", "UTC"}, kCliWriteFailed, diskFull, "", "/dev/full"},
    };
    for (const Case& c : cases) {
        const std::string shown = c.arguments.back();
        EXPECT_EQ(RunCliProgram(c.arguments, c.out), c.status) << shown;
        EXPECT_EQ(Err(), c.err) << shown;
        if (c.out.empty() && c.status == kCliSuccess) {
            EXPECT_NE(Out().find(c.outHas), std::string::npos) << shown << "\n" << Out();
        } else if (c.out.empty()) {
            EXPECT_EQ(Out(), "") << shown;
        }
    }
}
