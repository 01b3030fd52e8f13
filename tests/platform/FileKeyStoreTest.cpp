#include "platform/FileKeyStore.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "support/TempDir.h"
#include "support/UnprivilegedFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

constexpr KeyAccess kAccess = KEY_READ | KEY_WRITE;
constexpr const char* kCompany = R"(Software\Quandelle)";
constexpr const char* kProgram = R"(Software\Quandelle\Olvanta)";

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class FileKeyStoreTest : public ::testing::Test {
public:
    fs::path Company() const { return m_dir.Path() / "Quandelle"; }
    fs::path Conf() const { return Company() / "Olvanta.conf"; }
    void WriteConf(std::string_view text) const { m_dir.Write("Quandelle/Olvanta.conf", text); }

    KeyHandle Open(FileKeyStore& store, const char* path) {
        KeyHandle key = KeyHandle::None;
        EXPECT_EQ(store.OpenKey(path, kAccess, key), ERROR_SUCCESS) << path;
        return key;
    }

    // The value as a REG_DWORD, or nothing when it is not one.
    static std::optional<std::uint32_t> Dword(FileKeyStore& store, KeyHandle key,
                                              std::string_view name) {
        std::array<std::byte, 4> bytes{};
        ValueType type = REG_NONE;
        std::size_t size = 0;
        if (store.QueryValue(key, name, type, bytes, size) != ERROR_SUCCESS || type != REG_DWORD) {
            return std::nullopt;
        }
        return std::to_integer<std::uint32_t>(bytes[0]) |
               std::to_integer<std::uint32_t>(bytes[1]) << 8 |
               std::to_integer<std::uint32_t>(bytes[2]) << 16 |
               std::to_integer<std::uint32_t>(bytes[3]) << 24;
    }

    TempDir m_dir;
    FileKeyStore m_store{m_dir.Path()};
};

TEST_F(FileKeyStoreTest, CreatesPrivateKeysAndWritesValuesWhenFlushed) {
    FileKeyStore store(m_dir.Path() / "config");
    KeyHandle key = KeyHandle::None;
    ASSERT_EQ(store.CreateKey(kProgram, kAccess, key), ERROR_SUCCESS);
    const fs::path company = m_dir.Path() / "config" / "Quandelle";
    EXPECT_EQ(fs::status(m_dir.Path() / "config").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(company).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(company / "Olvanta.conf").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    ASSERT_EQ(store.SetDwordValue(key, "timezones_Base_Location", 5), ERROR_SUCCESS);
    ASSERT_EQ(store.SetDwordValue(key, "timezones_Remote_Location", 0xFFFFFFFF), ERROR_SUCCESS);
    EXPECT_EQ(Dword(store, key, "TIMEZONES_BASE_LOCATION"), 5u);
    EXPECT_EQ(Read(company / "Olvanta.conf").find("timezones"), std::string::npos);
    ASSERT_EQ(store.FlushKey(key), ERROR_SUCCESS);
    const std::string text = Read(company / "Olvanta.conf");
    EXPECT_NE(text.find("\n\"timezones_Base_Location\"=dword:00000005\n"
                        "\"timezones_Remote_Location\"=dword:ffffffff\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(store.CloseKey(key), ERROR_SUCCESS);

    // Another store (another run) reads what was written.
    FileKeyStore next(m_dir.Path() / "config");
    const KeyHandle again = Open(next, kProgram);
    EXPECT_EQ(Dword(next, again, "timezones_Remote_Location"), 0xFFFFFFFFu);
    EXPECT_EQ(next.CloseKey(again), ERROR_SUCCESS);
}

TEST_F(FileKeyStoreTest, MissingOrUnusableKeysAreNotFound) {
    struct Case {
        const char* path;
        KeyResult open, create;
    };
    m_dir.Write("Other/placeholder", "");
    for (const Case& c :
         {Case{kCompany, ERROR_FILE_NOT_FOUND, ERROR_SUCCESS},
          Case{R"(Software\Other\Olvanta)", ERROR_FILE_NOT_FOUND, ERROR_SUCCESS},
          Case{"Software", ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED},
          Case{R"(Software\Quandelle\Olvanta\Deeper)", ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED},
          Case{R"(Software\..)", ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED},
          Case{R"(Software\a/b)", ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED},
          Case{R"(Software\Quandelle\)", ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED},
          Case{R"(Hardware\Quandelle)", ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED}}) {
        KeyHandle key = KeyHandle::None;
        EXPECT_EQ(m_store.OpenKey(c.path, kAccess, key), c.open) << c.path;
        EXPECT_EQ(m_store.CreateKey(c.path, kAccess, key), c.create) << c.path;
        if (c.create == ERROR_SUCCESS) {
            EXPECT_EQ(m_store.CloseKey(key), ERROR_SUCCESS);
        }
    }
    FileKeyStore nowhere(std::nullopt);
    KeyHandle key = KeyHandle::None;
    EXPECT_EQ(nowhere.OpenKey(kCompany, kAccess, key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(nowhere.CreateKey(kCompany, kAccess, key), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileKeyStoreTest, ADamagedStoreIsReportedAndNeverWritten) {
    struct Case {
        const char* what;
        std::function<void(const FileKeyStoreTest&)> damage;
        KeyResult expected;
    };
    const Case cases[] = {
        {"company is a file", [](auto& t) { t.m_dir.Write("Quandelle", "x"); }, ERROR_BADDB},
        {"bad syntax", [](auto& t) { t.WriteConf("timezones=5\n"); }, ERROR_REGISTRY_CORRUPT},
        {"not text", [](auto& t) { t.WriteConf(std::string("\"a\"=dword:1\n\0\0", 14)); },
         ERROR_REGISTRY_CORRUPT},
        {"too large",
         [](auto& t) { t.WriteConf(std::string(ValueFile::kMaxSize, '\n') + "\"a\"=dword:1\n"); },
         ERROR_REGISTRY_CORRUPT},
        {"a directory", [](auto& t) { fs::create_directories(t.Conf()); }, ERROR_REGISTRY_CORRUPT},
        {"a dangling link",
         [](auto& t) {
             fs::create_directories(t.Company());
             fs::create_symlink("nowhere", t.Conf());
         },
         ERROR_REGISTRY_CORRUPT},
        {"a FIFO",
         [](auto& t) {
             fs::create_directories(t.Company());
             ASSERT_EQ(::mkfifo(t.Conf().c_str(), 0600), 0);
         },
         ERROR_REGISTRY_CORRUPT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Company());
        c.damage(*this);
        const fs::path damaged = fs::is_directory(Company()) ? Conf() : Company();
        const fs::file_type type = fs::symlink_status(damaged).type();
        const std::string bytes = type == fs::file_type::regular ? Read(damaged) : "";
        KeyHandle key = KeyHandle::None;
        EXPECT_EQ(m_store.OpenKey(kCompany, kAccess, key), c.expected);
        EXPECT_EQ(m_store.CreateKey(kCompany, kAccess, key), c.expected);
        EXPECT_EQ(m_store.CreateKey(kProgram, kAccess, key),
                  c.expected == ERROR_BADDB ? ERROR_BADDB : ERROR_REGISTRY_CORRUPT);
        EXPECT_EQ(fs::symlink_status(damaged).type(), type);
        if (type == fs::file_type::regular) {
            EXPECT_EQ(Read(damaged), bytes);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(damaged.parent_path()), {}), 1);
    }
}

TEST_F(FileKeyStoreTest, ARewriteKeepsOtherValuesIncludingThoseWrittenMeanwhile) {
    const std::string original =
        "; written by hand\n"
        "\"Name\"=\"a text longer than four bytes\"\n"
        "\"timezones_Base_Location\"=\"not a number\"\n";
    WriteConf(original);
    const KeyHandle mine = Open(m_store, kProgram);

    std::array<std::byte, 4> bytes{};
    ValueType type = REG_NONE;
    std::size_t size = 0;
    EXPECT_EQ(m_store.QueryValue(mine, "name", type, bytes, size), ERROR_MORE_DATA);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 30u);
    EXPECT_EQ(m_store.QueryValue(mine, "absent", type, bytes, size), ERROR_FILE_NOT_FOUND);

    // Another program writes after this key was opened, before it is flushed.
    FileKeyStore other(m_dir.Path());
    const KeyHandle theirs = Open(other, kProgram);
    ASSERT_EQ(other.SetDwordValue(theirs, "timezones_Remote_Location", 3), ERROR_SUCCESS);
    ASSERT_EQ(other.CloseKey(theirs), ERROR_SUCCESS);

    ASSERT_EQ(m_store.SetDwordValue(mine, "timezones_Base_Location", 7), ERROR_SUCCESS);
    ASSERT_EQ(m_store.CloseKey(mine), ERROR_SUCCESS);  // a close writes too
    EXPECT_EQ(Read(Conf()),
              "; written by hand\n"
              "\"Name\"=\"a text longer than four bytes\"\n"
              "\"timezones_Base_Location\"=dword:00000007\n"
              "\"timezones_Remote_Location\"=dword:00000003\n");
}

TEST_F(FileKeyStoreTest, AFailedWriteKeepsTheOldFileAndIsTriedAgainAtClose) {
    struct Case {
        int error;
        KeyResult expected;
    };
    for (const Case& c : {Case{ENOSPC, ERROR_DISK_FULL}, Case{EDQUOT, ERROR_DISK_FULL},
                          Case{EACCES, ERROR_ACCESS_DENIED}, Case{EROFS, ERROR_WRITE_PROTECT},
                          Case{EIO, ERROR_REGISTRY_IO_FAILED}}) {
        WriteConf("\"timezones_Base_Location\"=dword:00000001\n");
        int failuresLeft = 1;
        FileKeyStore store(m_dir.Path(), [&](WriteStep step) {
            return step == WriteStep::Write && failuresLeft-- > 0 ? c.error : 0;
        });
        const KeyHandle key = Open(store, kProgram);
        ASSERT_EQ(store.SetDwordValue(key, "timezones_Base_Location", 2), ERROR_SUCCESS);
        EXPECT_EQ(store.FlushKey(key), c.expected);
        EXPECT_EQ(Read(Conf()), "\"timezones_Base_Location\"=dword:00000001\n");
        EXPECT_EQ(store.CloseKey(key), ERROR_SUCCESS);
        EXPECT_EQ(Read(Conf()), "\"timezones_Base_Location\"=dword:00000002\n");
    }
}

TEST_F(FileKeyStoreTest, AWriteThatWouldPassTheSizeLimitIsRefused) {
    const std::string nearlyFull = "; " + std::string(ValueFile::kMaxSize - 10, 'x') + "\n";
    WriteConf(nearlyFull);
    const KeyHandle key = Open(m_store, kProgram);
    ASSERT_EQ(m_store.SetDwordValue(key, "timezones_Base_Location", 2), ERROR_SUCCESS);
    EXPECT_EQ(m_store.FlushKey(key), ERROR_NOT_ENOUGH_QUOTA);
    EXPECT_EQ(m_store.CloseKey(key), ERROR_NOT_ENOUGH_QUOTA);
    EXPECT_EQ(Read(Conf()), nearlyFull);
}

TEST_F(FileKeyStoreTest, ALinkedFileIsWrittenThroughItsLink) {
    const fs::path real = m_dir.Write("dotfiles/olvanta", "\"a\"=dword:1\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_directories(Company());
    fs::create_symlink(real, Conf());
    const KeyHandle key = Open(m_store, kProgram);
    ASSERT_EQ(m_store.SetDwordValue(key, "b", 2), ERROR_SUCCESS);
    ASSERT_EQ(m_store.CloseKey(key), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_symlink(Conf()));
    EXPECT_EQ(Read(real), "\"a\"=dword:1\n\"b\"=dword:00000002\n");
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FileKeyStoreTest, AFileMadeReadOnlyIsNotReplaced) {
    WriteConf("\"a\"=dword:1\n");
    ScopedUnprivilegedFiles::LetPass(m_dir.Path());
    ScopedUnprivilegedFiles::Own(Company(), 0700);
    ScopedUnprivilegedFiles::Own(Conf(), 0400);
    const ScopedUnprivilegedFiles asTheFilesOwner;
    const KeyHandle key = Open(m_store, kProgram);
    ASSERT_EQ(m_store.SetDwordValue(key, "a", 2), ERROR_SUCCESS);
    EXPECT_EQ(m_store.FlushKey(key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(m_store.CloseKey(key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Read(Conf()), "\"a\"=dword:1\n");
}

TEST_F(FileKeyStoreTest, HandlesAreCheckedAndCompanyKeysHoldNoValues) {
    const KeyHandle closed = static_cast<KeyHandle>(99);
    std::array<std::byte, 4> bytes{};
    ValueType type = REG_NONE;
    std::size_t size = 0;
    EXPECT_EQ(m_store.QueryValue(closed, "a", type, bytes, size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m_store.SetDwordValue(closed, "a", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m_store.FlushKey(closed), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m_store.CloseKey(closed), ERROR_INVALID_HANDLE);

    KeyHandle company = KeyHandle::None;
    ASSERT_EQ(m_store.CreateKey(kCompany, kAccess, company), ERROR_SUCCESS);
    EXPECT_EQ(m_store.SetDwordValue(company, "a", 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(m_store.QueryValue(company, "a", type, bytes, size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(m_store.CloseKey(company), ERROR_SUCCESS);
    EXPECT_EQ(m_store.CloseKey(company), ERROR_INVALID_HANDLE);

    KeyHandle program = KeyHandle::None;
    ASSERT_EQ(m_store.CreateKey(kProgram, kAccess, program), ERROR_SUCCESS);
    EXPECT_EQ(m_store.SetDwordValue(program, "two\nlines", 1), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(m_store.SetDwordValue(program, "one line", 1), ERROR_SUCCESS);
    EXPECT_EQ(m_store.CloseKey(program), ERROR_SUCCESS);
}

}  // namespace
