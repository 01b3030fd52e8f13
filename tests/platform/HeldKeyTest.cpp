#include "platform/HeldKey.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/MemoryKeyStore.h"

namespace {

using platform::HeldKey;
using Op = MemoryKeyStore::Operation;
using Calls = std::vector<std::string>;

constexpr platform::KeyAccess kAccess = 0x2001F;

struct ReplaceCase {
    const char* what;
    bool create;
    Op failing;
    const char* failingTarget;
    platform::KeyResult failure;
    platform::KeyResult expected;
    Calls calls;  // after `Software\A` is held, through the final flush and close
};

void PrintTo(const ReplaceCase& c, std::ostream* out) {
    *out << c.what;
}

class HeldKeyReplaceTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(HeldKeyReplaceTest, FollowsTheReplacementRules) {
    const ReplaceCase& c = GetParam();
    MemoryKeyStore store;
    store.AddKey(R"(Software\A)");
    store.AddKey(R"(Software\B)");
    HeldKey key(store, kAccess);
    ASSERT_EQ(key.Open(R"(Software\A)"), platform::ERROR_SUCCESS);
    store.Fail(c.failing, c.failingTarget, c.failure);

    const platform::KeyResult result =
        c.create ? key.Create(R"(Software\B)") : key.Open(R"(Software\B)");
    EXPECT_EQ(result, c.expected);
    EXPECT_TRUE(key.IsHeld());
    key.FlushAndClose();
    EXPECT_FALSE(key.IsHeld());

    Calls calls(store.Calls().begin() + 1, store.Calls().end());
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(store.OpenHandles(), 0u);
    for (platform::KeyAccess access : store.Accesses()) {
        EXPECT_EQ(access, kAccess);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeldKeyReplaceTest,
    ::testing::Values(
        ReplaceCase{"OpenTakesThePlaceAndClosesThePrevious",
                    false,
                    Op::Query,
                    "",
                    0,
                    0,
                    {R"(open Software\B)", R"(close Software\A)", R"(flush Software\B)",
                     R"(close Software\B)"}},
        ReplaceCase{"CreateTakesThePlace",
                    true,
                    Op::Query,
                    "",
                    0,
                    0,
                    {R"(create Software\B)", R"(close Software\A)", R"(flush Software\B)",
                     R"(close Software\B)"}},
        ReplaceCase{"FailedOpenKeepsTheHeldKey",
                    false,
                    Op::Open,
                    R"(Software\B)",
                    5,
                    5,
                    {R"(open Software\B !5)", R"(flush Software\A)", R"(close Software\A)"}},
        ReplaceCase{"FailedCreateKeepsTheHeldKey",
                    true,
                    Op::Create,
                    R"(Software\B)",
                    1015,
                    1015,
                    {R"(create Software\B !1015)", R"(flush Software\A)", R"(close Software\A)"}},
        ReplaceCase{"FailedCloseCountsAsFailureButTheNewKeyIsHeld",
                    false,
                    Op::Close,
                    R"(Software\A)",
                    6,
                    6,
                    {R"(open Software\B)", R"(close Software\A !6)", R"(flush Software\B)",
                     R"(close Software\B)"}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(HeldKeyTest, NothingHeldMeansNothingToFlushOrClose) {
    MemoryKeyStore store;
    HeldKey key(store, kAccess);
    EXPECT_EQ(key.Open(R"(Software\Missing)"), platform::ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key.IsHeld());
    const HeldKey::Ending ending = key.FlushAndClose();
    EXPECT_TRUE(ending.Stored());
    EXPECT_EQ(store.Calls(), Calls{R"(open Software\Missing !2)"});
}

TEST(HeldKeyTest, EndingTellsWhetherTheWritesAreStored) {
    struct Case {
        platform::KeyResult flushFailure, closeFailure;
        bool stored;
    };
    for (const Case& c :
         {Case{0, 0, true}, Case{112, 0, true}, Case{0, 6, true}, Case{112, 112, false}}) {
        MemoryKeyStore store;
        store.AddKey(R"(Software\A)");
        store.Fail(Op::Flush, R"(Software\A)", c.flushFailure);
        store.Fail(Op::Close, R"(Software\A)", c.closeFailure);
        HeldKey key(store, kAccess);
        ASSERT_EQ(key.Open(R"(Software\A)"), platform::ERROR_SUCCESS);
        const HeldKey::Ending ending = key.FlushAndClose();
        EXPECT_EQ(ending.flush, c.flushFailure);
        EXPECT_EQ(ending.close, c.closeFailure);
        EXPECT_EQ(ending.Stored(), c.stored) << c.flushFailure << " " << c.closeFailure;
        EXPECT_EQ(store.OpenHandles(), 0u);
    }
}

TEST(HeldKeyTest, AKeyStillHeldAtTheEndIsClosedUnflushed) {
    MemoryKeyStore store;
    store.AddKey(R"(Software\A)");
    {
        HeldKey key(store, kAccess);
        ASSERT_EQ(key.Create(R"(Software\A)"), platform::ERROR_SUCCESS);
    }
    EXPECT_EQ(store.Calls(), (Calls{R"(create Software\A)", R"(close Software\A)"}));
    EXPECT_EQ(store.OpenHandles(), 0u);
}

}  // namespace
