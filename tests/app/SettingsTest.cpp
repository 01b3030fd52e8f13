// The remembered places through a start and a close of the program, over the
// settings files a user may have. Each run happens in a child process, as an
// ordinary user when the suite runs as root (as CI does), so that permissions
// hold and every run starts with Qt's settings cache empty, as a program does.
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "app/settings/Settings.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // path under the configuration directory: bytes

constexpr uid_t kOrdinaryUser = 65534;  // "nobody"
const std::string kDamaged = "Registry database is corrupted!";

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

Files FilesUnder(const fs::path& root) {
    Files files;
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root).string()] = ReadFile(entry.path());
        }
    }
    return files;
}

// Gives everything under `home` to the ordinary user whom the children run as.
void HandOver(const fs::path& home) {
    if (::geteuid() == 0) {
        for (const auto& entry : fs::recursive_directory_iterator(home)) {
            ::lchown(entry.path().c_str(), kOrdinaryUser, kOrdinaryUser);
        }
        ::lchown(home.c_str(), kOrdinaryUser, kOrdinaryUser);
    }
}

// A child process that runs `work` with $XDG_CONFIG_HOME at `config`, as the
// ordinary user when the suite runs as root.
class Child {
public:
    Child(const fs::path& config, const std::function<std::string()>& work) {
        int channel[2] = {-1, -1};
        if (::pipe(channel) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(channel[0]);
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kOrdinaryUser) != 0 ||
                                     ::setuid(kOrdinaryUser) != 0)) {
                ::_exit(3);
            }
            ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
            const std::string said = work();
            const bool told =
                ::write(channel[1], said.data(), said.size()) == static_cast<ssize_t>(said.size());
            ::_exit(told ? 0 : 4);
        }
        ::close(channel[1]);
        m_channel = channel[0];
    }

    // What `work` returned, or how the child ended when it did not finish.
    std::string Said() {
        std::string said;
        char buffer[4096];
        for (ssize_t count; (count = ::read(m_channel, buffer, sizeof buffer)) > 0;) {
            said.append(buffer, static_cast<std::size_t>(count));
        }
        ::close(m_channel);
        int status = -1;
        ::waitpid(m_pid, &status, 0);
        const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        return finished ? said : "child ended with status " + std::to_string(status);
    }

private:
    pid_t m_pid = -1;
    int m_channel = -1;
};

// A start, the user picking base place 7, and a close; what the user saw.
std::string StartPickAndClose() {
    RecordingMessageSink atStart;
    RecordingMessageSink atClose;
    g_baseLocation = 0;
    g_remoteLocation = 0;
    LoadSettings(atStart);
    std::string seen;
    for (const std::string& text : atStart.Texts()) {
        seen += "start: " + text + "\n";
    }
    seen += "lists at " + std::to_string(g_baseLocation) + " " + std::to_string(g_remoteLocation) +
            "\n";
    g_baseLocation = 7;
    SaveSettings(atClose);
    for (const std::string& text : atClose.Texts()) {
        seen += "close: " + text + "\n";
    }
    return seen;
}

std::string Saved(int base, int remote) {
    return "[General]\ntimezones_Base_Location=" + std::to_string(base) +
           "\ntimezones_Remote_Location=" + std::to_string(remote) + "\n";
}

struct Situation {
    const char* name;
    Files before;  // none: not even the configuration directory exists
    std::function<void(const fs::path& config)> spoil;
    std::string seen;
    Files after;
};

TEST(SettingsTest, StartAndCloseInEverySituation) {
    const std::string conf = "Quandelle/Olvanta.conf";
    const std::string stored =
        "[General]\ntimezones_Base_Location=5\ntimezones_Remote_Location=12\n";
    const char binaryBytes[] =
        "timezones_Base_Location=5\nblob=\x7f"
        "ELF\0\1\xff\xfe\n";
    const std::string binary(binaryBytes, sizeof binaryBytes - 1);
    const char foreignBytes[] = "not a settings file\0\xff";
    const std::string foreign(foreignBytes, sizeof foreignBytes - 1);
    const std::string unclosedSection = "[General\ntimezones_Base_Location=5\n";
    const auto mode = [](const char* path, fs::perms perms) {
        return [=](const fs::path& config) { fs::permissions(config / path, perms); };
    };
    const auto noSpoil = [](const fs::path&) {};
    const std::string notSaved = "close: The chosen places could not be saved: access is denied.\n";
    const Situation situations[] = {
        {"first_start", {}, noSpoil, "lists at 0 0\n", {{conf, Saved(7, 0)}}},
        {"stored_5_and_12", {{conf, stored}}, noSpoil, "lists at 5 12\n", {{conf, Saved(7, 12)}}},
        {"base_stored_as_text",
         {{conf, "timezones_Base_Location=Lisbon\ntimezones_Remote_Location=12\n"}},
         noSpoil,
         "lists at 0 12\n",
         {{conf, Saved(7, 12)}}},
        {"remote_stored_as_2_to_the_40",
         {{conf, "timezones_Base_Location=5\ntimezones_Remote_Location=1099511627776\n"}},
         noSpoil,
         "lists at 5 0\n",
         {{conf, Saved(7, 0)}}},
        {"positions_out_of_range_written_back",
         {{conf, "timezones_Base_Location=99\ntimezones_Remote_Location=-1\n"}},
         noSpoil,
         "lists at 99 -1\n",
         {{conf, Saved(7, -1)}}},
        {"foreign_file_beside_ours",
         {{conf, stored}, {"Quandelle/Other.conf", foreign}},
         noSpoil,
         "lists at 5 12\n",
         {{conf, Saved(7, 12)}, {"Quandelle/Other.conf", foreign}}},
        {"comment_line_and_unknown_key_in_ours",
         {{conf,
           "# my note\ntimezones_Base_Location=5\nfuture=42\ntimezones_Remote_Location=12\n"}},
         noSpoil,
         "lists at 5 12\n",
         {{conf,
           "[General]\nfuture=42\ntimezones_Base_Location=7\ntimezones_Remote_Location=12\n"}}},
        {"binary_file_in_ours",
         {{conf, binary}},
         noSpoil,
         "start: " + kDamaged + "\nlists at 0 0\nclose: " + kDamaged + "\n",
         {{conf, binary}}},
        {"unclosed_section_in_ours",
         {{conf, unclosedSection}},
         noSpoil,
         "start: " + kDamaged + "\nlists at 0 0\nclose: " + kDamaged + "\n",
         {{conf, unclosedSection}}},
        {"company_directory_is_a_file",
         {{"Quandelle", "a file\n"}},
         noSpoil,
         "start: " + kDamaged + "\nlists at 0 0\nclose: " + kDamaged + "\n",
         {{"Quandelle", "a file\n"}}},
        {"read_only_file",
         {{conf, stored}},
         mode("Quandelle/Olvanta.conf", fs::perms::owner_read),
         "lists at 5 12\n" + notSaved,
         {{conf, stored}}},
        {"read_only_directory",
         {{conf, stored}},
         mode("Quandelle", fs::perms::owner_read | fs::perms::owner_exec),
         "lists at 5 12\n" + notSaved,
         {{conf, stored}}},
        {"read_only_directory_without_our_file",
         {{"Quandelle/Other.conf", "x=1\n"}},
         mode("Quandelle", fs::perms::owner_read | fs::perms::owner_exec),
         "lists at 0 0\nclose: " + kDamaged + "\n",
         {{"Quandelle/Other.conf", "x=1\n"}}},
    };
    for (const Situation& s : situations) {
        SCOPED_TRACE(s.name);
        const TempDir home;
        const fs::path config = home.Path() / "config";
        for (const auto& [path, bytes] : s.before) {
            home.Write("config/" + path, bytes);
        }
        s.spoil(config);
        HandOver(home.Path());
        EXPECT_EQ(Child(config, StartPickAndClose).Said(), s.seen);
        EXPECT_EQ(FilesUnder(config), s.after);
        std::error_code ignored;
        fs::permissions(config / "Quandelle", fs::perms::owner_all, ignored);
    }
}

TEST(SettingsTest, TwoInstancesClosingAtOnceLeaveOneWholeFile) {
    const TempDir home;
    const fs::path config = home.Path() / "config";
    const auto closeOften = [](std::int32_t base, std::int32_t remote) {
        return [=] {
            RecordingMessageSink messages;
            for (int i = 0; i < 50; ++i) {
                g_baseLocation = base;
                g_remoteLocation = remote;
                SaveSettings(messages);
            }
            return std::to_string(messages.Texts().size()) + " messages";
        };
    };
    HandOver(home.Path());
    Child first(config, closeOften(1, 2));
    Child second(config, closeOften(3, 4));
    EXPECT_EQ(first.Said(), "0 messages");
    EXPECT_EQ(second.Said(), "0 messages");
    const Files files = FilesUnder(config);
    const Files firstWins{{"Quandelle/Olvanta.conf", Saved(1, 2)}};
    const Files secondWins{{"Quandelle/Olvanta.conf", Saved(3, 4)}};
    EXPECT_TRUE(files == firstWins || files == secondWins) << files.begin()->second;
}

}  // namespace
