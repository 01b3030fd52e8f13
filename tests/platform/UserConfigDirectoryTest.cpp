#include "platform/UserConfigDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

TEST(UserConfigDirectoryTest, FollowsTheXdgRulesWithTheUserDatabaseLast) {
    struct Case {
        const char* xdg;
        const char* home;
        const char* database;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"/xdg", "/home/u", "/db", "/xdg"},
        {nullptr, "/home/u", "/db", "/home/u/.config"},
        {"", "/home/u", "/db", "/home/u/.config"},
        {"relative/xdg", "/home/u", "/db", "/home/u/.config"},
        {nullptr, "", "/db", "/db/.config"},
        {nullptr, nullptr, "/db", "/db/.config"},
        {nullptr, "relative", "/db", "/db/.config"},
        {nullptr, nullptr, nullptr, std::nullopt},
        {nullptr, nullptr, "", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<std::filesystem::path> chosen =
            platform::ChooseConfigDirectory(c.xdg, c.home, c.database);
        EXPECT_EQ(chosen ? std::optional(chosen->string()) : std::nullopt, c.expected)
            << (c.xdg ? c.xdg : "-") << " " << (c.home ? c.home : "-");
    }
}

TEST(UserConfigDirectoryTest, ReadsTheEnvironment) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> restore =
        saved ? std::optional<std::string>(saved) : std::nullopt;
    ::setenv("XDG_CONFIG_HOME", "/somewhere/else", 1);
    EXPECT_EQ(platform::UserConfigDirectory(), std::filesystem::path("/somewhere/else"));
    if (restore) {
        ::setenv("XDG_CONFIG_HOME", restore->c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
