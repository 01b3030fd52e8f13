// The remembered places through a start and a close, over the settings files
// a user may have. Each run is a child process, as the ordinary user "nobody"
// when the suite runs as root (as CI does), so that permissions hold, and with
// Qt's settings cache empty, as in a program.
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <tuple>

#include "app/settings/Settings.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // path under the configuration directory: bytes

const std::string kConf = "Quandelle/Olvanta.conf";
const std::string kDamaged = "Registry database is corrupted!\n";

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

Files FilesUnder(const fs::path& root) {
    Files files;
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root)] = Read(entry.path());
        }
    }
    return files;
}

// Gives `home` and all in it to "nobody", whom the children run as under root.
void HandOver(const fs::path& home) {
    for (const auto& entry : fs::recursive_directory_iterator(home)) {
        std::ignore = ::lchown(entry.path().c_str(), 65534, 65534);  // fails harmlessly unless root
    }
    std::ignore = ::lchown(home.c_str(), 65534, 65534);
}

// Runs `work` in a child process with its configuration directory in `home`,
// as "nobody" when the suite runs as root. What `work` returns is written to
// home/`said` and read back by Finish().
pid_t Start(const fs::path& home, const char* said, const std::function<std::string()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        std::ofstream(home / said) << work();
        ::_exit(0);
    }
    return child;
}

std::string Finish(pid_t child, const fs::path& said) {
    int status = -1;
    ::waitpid(child, &status, 0);
    return status == 0 ? Read(said) : "the child ended with status " + std::to_string(status);
}

// The message the window shows for `outcome`, as a line; nothing for none.
std::string Shown(SettingsOutcome outcome) {
    const std::optional<std::string> message = SettingsMessage(outcome);
    return message ? *message + "\n" : "";
}

// A start, the user picking base place 7, and a close: the messages and the
// positions the lists start at.
std::string StartPickAndClose() {
    const std::string atStart = Shown(LoadSettings());
    const std::string lists =
        std::to_string(g_baseLocation) + " " + std::to_string(g_remoteLocation);
    g_baseLocation = 7;
    return atStart + "lists at " + lists + "\n" + Shown(SaveSettings());
}

std::string Saved(int base, int remote) {
    return "[General]\ntimezones_Base_Location=" + std::to_string(base) +
           "\ntimezones_Remote_Location=" + std::to_string(remote) + "\n";
}

struct Situation {
    const char* name;
    Files before;          // nothing: not even the configuration directory
    const char* readOnly;  // a path made read-only for its owner, or nullptr
    std::string seen;      // the messages at start, the lists' positions, the messages at close
    Files after;
    bool temporaryDirectoryIsAFile = false;
};

TEST(SettingsTest, StartAndCloseInEverySituation) {
    const std::string stored = Saved(5, 12);
    const char binaryBytes[] =
        "timezones_Base_Location=5\nblob=\x7f"
        "ELF\0\1\xff\xfe\n";
    const std::string binary(binaryBytes, sizeof binaryBytes - 1);
    const std::string unclosedSection = "[General\ntimezones_Base_Location=5\n";
    const std::string comment = "# my note\ntimezones_Base_Location=5\nfuture=42\n";
    const std::string notSaved = "The chosen places could not be saved: access is denied.\n";
    std::string nested;  // a list holding a list holding a list ..., as QDataStream writes it
    for (int i = 0; i < 30'000; ++i) {
        nested += "\\0\\0\\0\\t\\0\\0\\0\\x1";
    }
    const std::string streamed = stored + "x=@Variant(" + nested + ")\n";
    const std::string escapedStreamed = stored + "x=\\x40Variant(" + nested + ")\n";
    const std::string userLine =
        "[General\ntimezones_Base_Location=5\ntimezones_Remote_Location=3\nimportant user data "
        "line\n";
    const std::string crLines =
        "# my settings\r[General\rtimezones_Base_Location=5\rimportant user data line\r";
    const Situation situations[] = {
        {"first_start", {}, nullptr, "lists at 0 0\n", {{kConf, Saved(7, 0)}}},
        {"stored_5_and_12", {{kConf, stored}}, nullptr, "lists at 5 12\n", {{kConf, Saved(7, 12)}}},
        {"text_and_2_to_the_40",
         {{kConf, "timezones_Base_Location=Lisbon\ntimezones_Remote_Location=1099511627776\n"}},
         nullptr,
         "lists at 0 0\n",
         {{kConf, Saved(7, 0)}}},
        {"out_of_range_written_back",
         {{kConf, "timezones_Base_Location=99\ntimezones_Remote_Location=-1\n"}},
         nullptr,
         "lists at 99 -1\n",
         {{kConf, Saved(7, -1)}}},
        {"foreign_file_beside_ours",
         {{kConf, stored}, {"Quandelle/Other.conf", binary}},
         nullptr,
         "lists at 5 12\n",
         {{kConf, Saved(7, 12)}, {"Quandelle/Other.conf", binary}}},
        {"comment_line_in_ours",
         {{kConf, comment}},
         nullptr,
         "lists at 5 0\n",
         {{kConf,
           "[General]\nfuture=42\ntimezones_Base_Location=7\ntimezones_Remote_Location=0\n"}}},
        {"binary_file_in_ours",
         {{kConf, binary}},
         nullptr,
         kDamaged + "lists at 0 0\n" + kDamaged,
         {{kConf, binary}}},
        {"unclosed_section_in_ours",
         {{kConf, unclosedSection}},
         nullptr,
         kDamaged + "lists at 0 0\n" + kDamaged,
         {{kConf, unclosedSection}}},
        {"value_qt_would_rebuild_deeply",
         {{kConf, streamed}},
         nullptr,
         kDamaged + "lists at 0 0\n" + kDamaged,
         {{kConf, streamed}}},
        {"the_same_value_escaped",
         {{kConf, escapedStreamed}},
         nullptr,
         kDamaged + "lists at 0 0\n" + kDamaged,
         {{kConf, escapedStreamed}}},
        {"unclosed_section_without_a_temporary_directory",
         {{kConf, userLine}},
         nullptr,
         kDamaged + "lists at 0 0\n" + kDamaged,
         {{kConf, userLine}},
         true},
        {"cr_line_ends_after_a_comment_line",
         {{kConf, crLines}},
         nullptr,
         kDamaged + "lists at 0 0\n" + kDamaged,
         {{kConf, crLines}}},
        {"directory_is_a_file",
         {{"Quandelle", "a file"}},
         nullptr,
         kDamaged + "lists at 0 0\n" + kDamaged,
         {{"Quandelle", "a file"}}},
        {"read_only_file",
         {{kConf, stored}},
         "Quandelle/Olvanta.conf",
         "lists at 5 12\n" + notSaved,
         {{kConf, stored}}},
        {"read_only_directory",
         {{kConf, stored}},
         "Quandelle",
         "lists at 5 12\n" + notSaved,
         {{kConf, stored}}},
    };
    for (const Situation& s : situations) {
        SCOPED_TRACE(s.name);
        const TempDir home;
        for (const auto& [path, bytes] : s.before) {
            home.Write("config/" + path, bytes);
        }
        if (s.readOnly != nullptr) {
            fs::permissions(home.Path() / "config" / s.readOnly,
                            fs::perms::owner_read | fs::perms::owner_exec);
        }
        const fs::path notADirectory = home.Write("tmp", "a file");
        HandOver(home.Path());
        const auto work = [&s, &notADirectory] {
            if (s.temporaryDirectoryIsAFile) {
                ::setenv("TMPDIR", notADirectory.c_str(), 1);
            }
            return StartPickAndClose();
        };
        EXPECT_EQ(Finish(Start(home.Path(), "seen", work), home.Path() / "seen"), s.seen);
        EXPECT_EQ(FilesUnder(home.Path() / "config"), s.after);
        std::error_code ignored;  // lets an ordinary user's TempDir remove it all
        fs::permissions(home.Path() / "config/Quandelle", fs::perms::owner_all, ignored);
    }
}

TEST(SettingsTest, TwoInstancesClosingAtOnceLeaveOneWholeFile) {
    const TempDir home;
    const auto closeOften = [](std::int32_t base) {
        return [base] {
            std::string shown;
            for (g_baseLocation = base; g_remoteLocation < 50; ++g_remoteLocation) {
                shown += Shown(SaveSettings());
            }
            return shown;
        };
    };
    HandOver(home.Path());
    const pid_t first = Start(home.Path(), "first", closeOften(1));
    const pid_t second = Start(home.Path(), "second", closeOften(2));
    EXPECT_EQ(Finish(first, home.Path() / "first"), "");
    EXPECT_EQ(Finish(second, home.Path() / "second"), "");
    const Files files = FilesUnder(home.Path() / "config");
    const Files firstLast{{kConf, Saved(1, 49)}};
    const Files secondLast{{kConf, Saved(2, 49)}};
    EXPECT_TRUE(files == firstLast || files == secondLast) << Read(home.Path() / "config" / kConf);
}

}  // namespace
