// The remembered places in the settings file of a temporary configuration
// directory, as the program keeps them.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "app/settings/Settings.h"
#include "platform/FileKeyStore.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "support/UnprivilegedFiles.h"

namespace {

namespace fs = std::filesystem;
using platform::WriteStep;

const std::string kDamaged = "Registry database is corrupted!";

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            m_savedXdg = old;
        }
        ::setenv("XDG_CONFIG_HOME", m_dir.Path().c_str(), 1);
        SetPositions(0, 0);
    }
    void TearDown() override {
        if (m_savedXdg) {
            ::setenv("XDG_CONFIG_HOME", m_savedXdg->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }

    static void SetPositions(std::int32_t base, std::int32_t remote) {
        g_baseLocation = base;
        g_remoteLocation = remote;
    }
    fs::path Conf() const { return m_dir.Path() / "Quandelle" / "Olvanta.conf"; }
    std::string ReadConf() const {
        std::ifstream in(Conf(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void WriteConf(std::string_view text) const { m_dir.Write("Quandelle/Olvanta.conf", text); }

    // The positions that a start would find now, with the file left as found.
    std::pair<std::int32_t, std::int32_t> PositionsOnDisk() const {
        const std::optional<platform::ValueFile> file = platform::ValueFile::Parse(ReadConf());
        EXPECT_TRUE(file) << ReadConf();
        const auto number = [&file](const char* name) {
            const platform::StoredValue* value = file ? file->Find(name) : nullptr;
            std::uint32_t n = 0;
            for (std::size_t i = value ? value->data.size() : 0; i-- > 0;) {
                n = (n << 8) | std::to_integer<std::uint32_t>(value->data[i]);
            }
            return static_cast<std::int32_t>(n);
        };
        return {number("timezones_Base_Location"), number("timezones_Remote_Location")};
    }

    TempDir m_dir;
    std::optional<std::string> m_savedXdg;
    RecordingMessageSink m_messages;
};

TEST_F(SettingsFileTest, AFirstStartCreatesTheFileAndTheNextStartReadsWhatClosingWrote) {
    platform::FileKeyStore store;  // the user's store: here the temporary directory
    LoadSettings(store, m_messages);
    EXPECT_EQ(PositionsOnDisk(), std::pair(0, 0));
    EXPECT_EQ(fs::status(Conf()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(Conf().parent_path()).permissions(), fs::perms::owner_all);

    SetPositions(5, 12);
    SaveSettings(store, m_messages);
    EXPECT_NE(ReadConf().find("\"timezones_Base_Location\"=dword:00000005\n"
                              "\"timezones_Remote_Location\"=dword:0000000c\n"),
              std::string::npos);
    SetPositions(0, 0);
    platform::FileKeyStore nextRun;
    LoadSettings(nextRun, m_messages);
    EXPECT_EQ(std::pair(g_baseLocation, g_remoteLocation), std::pair(5, 12));
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(SettingsFileTest, AStringIsReplacedAndEverythingElseKept) {
    WriteConf(
        "; my places\n"
        "\"timezones_Base_Location\"=\"Lisbon\"\n"
        "\"timezones_Remote_Location\"=dword:FFFFFFFF\n"
        "\"Unrelated\"=hex:00\n");
    platform::FileKeyStore store;
    LoadSettings(store, m_messages);
    EXPECT_EQ(std::pair(g_baseLocation, g_remoteLocation), std::pair(0, -1));
    EXPECT_EQ(ReadConf(),
              "; my places\n"
              "\"timezones_Base_Location\"=dword:00000000\n"
              "\"timezones_Remote_Location\"=dword:FFFFFFFF\n"
              "\"Unrelated\"=hex:00\n");
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(SettingsFileTest, ADamagedFileIsReportedAtStartAndCloseAndLeftUntouched) {
    for (const std::string& damaged : {std::string("\"timezones_Base_Location\"=dword:5 6\n"),
                                       std::string("\x7F"
                                                   "ELF\0\1",
                                                   6),
                                       std::string(70000, ';')}) {
        WriteConf(damaged);
        RecordingMessageSink messages;
        platform::FileKeyStore store;
        SetPositions(0, 0);
        LoadSettings(store, messages);
        SetPositions(2, 3);
        SaveSettings(store, messages);
        EXPECT_EQ(messages.Texts(), (std::vector{kDamaged, kDamaged}));
        EXPECT_EQ(ReadConf(), damaged);
        EXPECT_EQ(std::distance(fs::directory_iterator(Conf().parent_path()), {}), 1);
    }
}

TEST_F(SettingsFileTest, OfTwoInstancesTheOneClosedLastWins) {
    WriteConf("\"timezones_Base_Location\"=dword:1\n\"timezones_Remote_Location\"=dword:2\n");
    platform::FileKeyStore first;
    platform::FileKeyStore second;
    LoadSettings(first, m_messages);
    LoadSettings(second, m_messages);
    EXPECT_EQ(std::pair(g_baseLocation, g_remoteLocation), std::pair(1, 2));
    SetPositions(30, 40);  // the second instance closes first
    SaveSettings(second, m_messages);
    SetPositions(10, 20);
    SaveSettings(first, m_messages);
    EXPECT_EQ(PositionsOnDisk(), std::pair(10, 20));
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(SettingsFileTest, AWriteFailingAtAnyStepKeepsAValidFileAndIsReported) {
    for (int step = 0; step < platform::kWriteStepCount; ++step) {
        SCOPED_TRACE(step);
        WriteConf("\"timezones_Base_Location\"=dword:5\n\"timezones_Remote_Location\"=dword:c\n");
        const auto failing = static_cast<WriteStep>(step);
        platform::FileKeyStore store(
            m_dir.Path(), [failing](WriteStep now) { return now == failing ? ENOSPC : 0; });
        RecordingMessageSink messages;
        SetPositions(7, 8);
        SaveSettings(store, messages);
        EXPECT_EQ(PositionsOnDisk(),
                  failing > WriteStep::Rename ? std::pair(7, 8) : std::pair(5, 12));
        EXPECT_EQ(messages.Texts(),
                  std::vector<std::string>{"The chosen places could not be saved: there is not "
                                           "enough space on the disk."});
        EXPECT_EQ(std::distance(fs::directory_iterator(Conf().parent_path()), {}), 1);
    }
}

TEST_F(SettingsFileTest, ACrashAtAnyStepOfClosingLeavesTheOldPlacesOrTheNew) {
    for (int step = 0; step < platform::kWriteStepCount; ++step) {
        SCOPED_TRACE(step);
        WriteConf("\"timezones_Base_Location\"=dword:5\n\"timezones_Remote_Location\"=dword:c\n");
        const auto crashing = static_cast<WriteStep>(step);
        platform::FileKeyStore store(m_dir.Path(), [crashing](WriteStep now) {
            if (now == crashing) {
                ::_exit(3);
            }
            return 0;
        });
        SetPositions(7, 8);
        EXPECT_EXIT(SaveSettings(store, m_messages), ::testing::ExitedWithCode(3), "");
        EXPECT_EQ(PositionsOnDisk(),
                  crashing > WriteStep::Rename ? std::pair(7, 8) : std::pair(5, 12));
    }
}

TEST_F(SettingsFileTest, AReadOnlyDirectoryIsReportedWhenClosing) {
    WriteConf("\"timezones_Base_Location\"=dword:5\n");
    ScopedUnprivilegedFiles::LetPass(m_dir.Path());
    ScopedUnprivilegedFiles::Own(Conf(), 0600);
    ScopedUnprivilegedFiles::Own(Conf().parent_path(), 0500);
    {
        const ScopedUnprivilegedFiles asTheFilesOwner;
        platform::FileKeyStore store;
        SaveSettings(store, m_messages);
    }
    fs::permissions(Conf().parent_path(), fs::perms::owner_all);
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{"The chosen places could not be saved: access is denied."});
    EXPECT_EQ(ReadConf(), "\"timezones_Base_Location\"=dword:5\n");
}

}  // namespace
