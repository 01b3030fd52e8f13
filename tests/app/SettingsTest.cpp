// The remembered places against a store in memory that records every call
// and can fail any of them.
#include "app/settings/Settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "support/MemoryKeyStore.h"
#include "support/RecordingMessageSink.h"

namespace {

using Calls = std::vector<std::string>;
using Texts = std::vector<std::string>;
using Op = MemoryKeyStore::Operation;

constexpr const char* kCompany = R"(Software\Quandelle)";
constexpr const char* kProgram = R"(Software\Quandelle\Olvanta)";
constexpr const char* kBase = "timezones_Base_Location";
constexpr const char* kRemote = "timezones_Remote_Location";
const std::string kDamaged = "Registry database is corrupted!";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SetPositions(0, 0); }
    void TearDown() override {
        EXPECT_EQ(m_store.OpenHandles(), 0u);
        for (platform::KeyAccess access : m_store.Accesses()) {
            EXPECT_EQ(access, 0x2001Fu);
        }
        for (const auto& [icon, text] : m_messages.Messages()) {
            EXPECT_EQ(icon, platform::MessageIcon::Stop) << text;
        }
    }
    static void SetPositions(std::int32_t base, std::int32_t remote) {
        g_baseLocation = base;
        g_remoteLocation = remote;
    }
    void StorePositions(std::uint32_t base, std::uint32_t remote) {
        m_store.PutDword(kProgram, kBase, base);
        m_store.PutDword(kProgram, kRemote, remote);
    }

    MemoryKeyStore m_store;
    RecordingMessageSink m_messages;
};

const Calls kCreatingBothKeysAndWriting = {
    R"(open Software\Quandelle !2)",
    R"(create Software\Quandelle)",
    R"(create Software\Quandelle\Olvanta)",
    R"(close Software\Quandelle)",
    R"(set Software\Quandelle\Olvanta timezones_Base_Location=0)",
    R"(set Software\Quandelle\Olvanta timezones_Remote_Location=0)",
    R"(flush Software\Quandelle\Olvanta)",
    R"(close Software\Quandelle\Olvanta)",
};

TEST_F(SettingsTest, FirstStartCreatesBothKeysAndBothValuesAsZero) {
    LoadSettings(m_store, m_messages);
    EXPECT_EQ(m_store.Calls(), kCreatingBothKeysAndWriting);
    EXPECT_EQ(m_store.Dword(kProgram, kBase), 0u);
    EXPECT_EQ(m_store.Dword(kProgram, kRemote), 0u);
    EXPECT_EQ(g_baseLocation, 0);
    EXPECT_EQ(g_remoteLocation, 0);
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(SettingsTest, ClosingOnAFreshAccountCreatesTheKeysToo) {
    SaveSettings(m_store, m_messages);
    EXPECT_EQ(m_store.Calls(), kCreatingBothKeysAndWriting);
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(SettingsTest, StoredPositionsAreTakenAsTheyAreAndWrittenBackUnchanged) {
    struct Case {
        std::uint32_t storedBase, storedRemote;
        std::int32_t base, remote;
    };
    // Negative and too large positions select nothing in the window, but are
    // kept all the same.
    for (const Case& c : {Case{5, 12, 5, 12}, Case{4294967295u, 3, -1, 3},
                          Case{100000, 2147483647u, 100000, 2147483647},
                          Case{2147483648u, 0, -2147483647 - 1, 0}}) {
        MemoryKeyStore store;
        store.PutDword(kProgram, kBase, c.storedBase);
        store.PutDword(kProgram, kRemote, c.storedRemote);
        SetPositions(0, 0);
        LoadSettings(store, m_messages);
        EXPECT_EQ(g_baseLocation, c.base);
        EXPECT_EQ(g_remoteLocation, c.remote);
        EXPECT_EQ(store.Calls(),
                  (Calls{
                      R"(open Software\Quandelle)",
                      R"(open Software\Quandelle\Olvanta)",
                      R"(close Software\Quandelle)",
                      R"(query Software\Quandelle\Olvanta timezones_Base_Location)",
                      R"(query Software\Quandelle\Olvanta timezones_Remote_Location)",
                      R"(flush Software\Quandelle\Olvanta)",
                      R"(close Software\Quandelle\Olvanta)",
                  }));

        store.PutDword(kProgram, kBase, 77);  // changed by another run meanwhile
        SaveSettings(store, m_messages);
        EXPECT_EQ(store.Dword(kProgram, kBase), c.storedBase);
        EXPECT_EQ(store.Dword(kProgram, kRemote), c.storedRemote);
        EXPECT_EQ(store.OpenHandles(), 0u);
    }
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(SettingsTest, AValueThatIsNoNumberIsReplacedByTheRememberedPosition) {
    struct Case {
        const char* what;
        std::function<void(MemoryKeyStore&)> store;
    };
    const auto put = [](platform::ValueType type, std::vector<std::byte> bytes) {
        return [type, bytes](MemoryKeyStore& store) {
            store.PutValue(kProgram, kBase, platform::StoredValue{type, bytes});
        };
    };
    const std::byte one{1};
    const Case cases[] = {
        {"a string", put(platform::REG_SZ, {std::byte{'1'}, std::byte{'2'}, std::byte{0}})},
        {"binary", put(platform::REG_BINARY, {one, one, one, one})},
        {"eight bytes", put(platform::REG_DWORD, std::vector<std::byte>(8, one))},
        {"two bytes", put(platform::REG_DWORD, {one, one})},
        {"missing", [](MemoryKeyStore& store) { store.AddKey(kProgram); }},
        {"unreadable",
         [](MemoryKeyStore& store) {
             store.PutDword(kProgram, kBase, 9);
             store.Fail(Op::Query, kBase, platform::ERROR_ACCESS_DENIED);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryKeyStore store;
        c.store(store);
        store.PutDword(kProgram, kRemote, 12);
        SetPositions(4, 0);
        LoadSettings(store, m_messages);
        EXPECT_EQ(g_baseLocation, 4);
        EXPECT_EQ(g_remoteLocation, 12);
        EXPECT_EQ(store.Dword(kProgram, kBase), 4u);
        EXPECT_EQ(store.Dword(kProgram, kRemote), 12u);
        EXPECT_EQ(store.Calls()[4], R"(set Software\Quandelle\Olvanta timezones_Base_Location=4)");
        EXPECT_EQ(store.OpenHandles(), 0u);
    }
    EXPECT_TRUE(m_messages.Messages().empty());
}

struct FailureRow {
    const char* what;
    std::function<void(MemoryKeyStore&)> arrange;
    bool shownAtStart;
    bool shownAtClose;
    Calls calls;  // the same at start and at close
};

void PrintTo(const FailureRow& row, std::ostream* out) {
    *out << row.what;
}

class SettingsFailureTest : public ::testing::TestWithParam<FailureRow> {};

TEST_P(SettingsFailureTest, ShowsTheMessageWhereDueAndWritesNothing) {
    const FailureRow& row = GetParam();
    for (const bool atStart : {true, false}) {
        SCOPED_TRACE(atStart ? "at start" : "at close");
        MemoryKeyStore store;
        RecordingMessageSink messages;
        row.arrange(store);
        g_baseLocation = 3;
        g_remoteLocation = 4;
        (atStart ? LoadSettings : SaveSettings)(store, messages);
        EXPECT_EQ(messages.Texts(),
                  (atStart ? row.shownAtStart : row.shownAtClose) ? Texts{kDamaged} : Texts{});
        for (const auto& message : messages.Messages()) {
            EXPECT_EQ(message.first, platform::MessageIcon::Stop);
        }
        EXPECT_EQ(store.Calls(), row.calls);
        EXPECT_EQ(g_baseLocation, 3);
        EXPECT_EQ(g_remoteLocation, 4);
        EXPECT_EQ(store.OpenHandles(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingsFailureTest,
    ::testing::Values(
        FailureRow{"BadDatabase",
                   [](MemoryKeyStore& s) { s.Fail(Op::Open, kCompany, platform::ERROR_BADDB); },
                   true,
                   true,
                   {R"(open Software\Quandelle !1009)"}},
        FailureRow{"RegistryCorrupt",
                   [](MemoryKeyStore& s) {
                       s.AddKey(kProgram);
                       s.Fail(Op::Open, kCompany, platform::ERROR_REGISTRY_CORRUPT);
                   },
                   true,
                   true,
                   {R"(open Software\Quandelle !1015)"}},
        FailureRow{"CompanyKeyNeitherOpenedNorCreated",
                   [](MemoryKeyStore& s) {
                       s.Fail(Op::Open, kCompany, platform::ERROR_ACCESS_DENIED);
                       s.Fail(Op::Create, kCompany, platform::ERROR_ACCESS_DENIED);
                   },
                   true,
                   true,
                   {R"(open Software\Quandelle !5)", R"(create Software\Quandelle !5)"}},
        FailureRow{
            "CompanyKeyCreatedButNotTheProgramKey",
            [](MemoryKeyStore& s) { s.Fail(Op::Create, kProgram, platform::ERROR_ACCESS_DENIED); },
            true,
            true,
            {R"(open Software\Quandelle !2)", R"(create Software\Quandelle)",
             R"(create Software\Quandelle\Olvanta !5)", R"(flush Software\Quandelle)",
             R"(close Software\Quandelle)"}},
        FailureRow{"CompanyKeyOpensButTheProgramKeyNeitherOpensNorIsCreated",
                   [](MemoryKeyStore& s) {
                       s.AddKey(kCompany);
                       s.Fail(Op::Create, kProgram, platform::ERROR_ACCESS_DENIED);
                   },
                   false,
                   true,
                   {R"(open Software\Quandelle)", R"(open Software\Quandelle\Olvanta !2)",
                    R"(create Software\Quandelle\Olvanta !5)", R"(flush Software\Quandelle)",
                    R"(close Software\Quandelle)"}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(SettingsTest, ClosingSaysWhenThePlacesCouldNotBeWritten) {
    struct Case {
        const char* what;
        std::function<void(MemoryKeyStore&)> arrange;
        bool lost;
    };
    const Case cases[] = {
        {"a value cannot be set",
         [](MemoryKeyStore& s) { s.Fail(Op::Set, kBase, platform::ERROR_DISK_FULL); }, true},
        {"neither flush nor close stores it",
         [](MemoryKeyStore& s) {
             s.Fail(Op::Flush, kProgram, platform::ERROR_DISK_FULL);
             s.Fail(Op::Close, kProgram, platform::ERROR_DISK_FULL);
         },
         true},
        {"the close stores what the flush could not",
         [](MemoryKeyStore& s) { s.Fail(Op::Flush, kProgram, platform::ERROR_DISK_FULL); }, false},
        {"only the close fails",
         [](MemoryKeyStore& s) { s.Fail(Op::Close, kProgram, platform::ERROR_DISK_FULL); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool atStart : {true, false}) {
            MemoryKeyStore store;
            RecordingMessageSink messages;
            store.PutValue(kProgram, kBase, platform::StoredValue{platform::REG_SZ, {}});
            c.arrange(store);
            SetPositions(6, 7);
            (atStart ? LoadSettings : SaveSettings)(store, messages);
            // Start-up loses nothing when its writes fail: closing writes again.
            EXPECT_EQ(messages.Texts(),
                      c.lost && !atStart ? Texts{"The chosen places could not be saved: there is "
                                                 "not enough space on the disk."}
                                         : Texts{});
            // Both values are written, in order, even when the first fails.
            EXPECT_EQ(store.Dword(kProgram, kRemote), 7u);
        }
    }
}

}  // namespace
