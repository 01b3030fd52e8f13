#include "platform/BrowserCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::CommandProblem;
using platform::ComposeBrowserCommand;
using platform::ComposeCommandLine;
using platform::EntryFields;
using platform::ExpandFieldCodes;
using platform::kMaxCommandLineLength;
using platform::SplitCommandArguments;

using Arguments = std::vector<std::string>;

const std::string kUrl = "https://olvanta.example.org/";

struct LineCase {
    const char* name;
    std::string commandTemplate;
    std::string expected;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineTest, CutsAtTheFirstPlaceholderThenAddsABlankAndTheUrl) {
    const LineCase& c = GetParam();
    EXPECT_EQ(ComposeCommandLine(c.commandTemplate, kUrl), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, CommandLineTest,
    ::testing::Values(
        // The quoted placeholder is dropped with its opening quote and all
        // after it, so the blank before it and the added blank make two.
        LineCase{"quoted_placeholder_between_options",
                 R"("C:\Program Files\Browser\browser.exe" -nohome "%1" -second)",
                 R"("C:\Program Files\Browser\browser.exe" -nohome  )" + kUrl},
        LineCase{"bare_placeholder_between_options", "browser -nohome %1 -second",
                 "browser -nohome  " + kUrl},
        LineCase{"no_placeholder", "browser", "browser " + kUrl},
        LineCase{"desktop_url_code", "firefox-esr %u", "firefox-esr  " + kUrl},
        LineCase{"desktop_url_list_quoted", R"(chromium --new-window "%U")",
                 "chromium --new-window  " + kUrl},
        LineCase{"desktop_file_code", "viewer --open %f --later", "viewer --open  " + kUrl},
        LineCase{"desktop_file_list", "viewer %F", "viewer  " + kUrl},
        LineCase{"first_of_two_placeholders_wins", "browser %u --then %f", "browser  " + kUrl},
        LineCase{"quoted_placeholder_wins_over_an_earlier_bare_one", R"(browser %u "%1")",
                 "browser %u  " + kUrl},
        LineCase{"escaped_percent_is_no_placeholder", "browser --zoom=100%%u %u",
                 "browser --zoom=100%%u  " + kUrl},
        LineCase{"placeholder_at_the_start", "%u", " " + kUrl},
        LineCase{"empty_template", "", " " + kUrl},
        LineCase{"lone_percent_at_the_end", "browser 100%", "browser 100% " + kUrl},
        LineCase{"other_field_codes_are_kept", "browser %i --class=%c %u",
                 "browser %i --class=%c  " + kUrl}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineLimitTest, ALineOfTheLimitIsComposedOneMoreIsRefused) {
    const std::string commandTemplate = "browser %u";  // the prefix "browser " has 8 characters
    const std::size_t fitting = kMaxCommandLineLength - 9;
    const std::string fittingUrl(fitting, 'a');
    const std::optional<std::string> line = ComposeCommandLine(commandTemplate, fittingUrl);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->size(), kMaxCommandLineLength);
    EXPECT_FALSE(ComposeCommandLine(commandTemplate, fittingUrl + "a").has_value());
    EXPECT_FALSE(ComposeCommandLine(commandTemplate, std::string(10'000, 'x')).has_value());
    EXPECT_FALSE(ComposeCommandLine(std::string(600, 'p'), "u").has_value());
}

struct SplitCase {
    const char* name;
    std::string command;
    std::optional<Arguments> expected;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << c.name;
}

class SplitArgumentsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitArgumentsTest, FollowsTheDesktopEntryQuotingRules) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitCommandArguments(c.command), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SplitArgumentsTest,
    ::testing::Values(
        SplitCase{"plain", "browser -a -b", Arguments{"browser", "-a", "-b"}},
        SplitCase{"runs_of_blanks_and_tabs", "  browser \t -a   ", Arguments{"browser", "-a"}},
        SplitCase{"quoted_path_with_blanks", R"("/opt/My Browser/run" --x)",
                  Arguments{"/opt/My Browser/run", "--x"}},
        SplitCase{"escapes_inside_quotes", R"("a\"b" "c\\d" "e\$f" "g\`h")",
                  Arguments{"a\"b", "c\\d", "e$f", "g`h"}},
        SplitCase{"other_backslashes_inside_quotes_stay", R"("a\nb")", Arguments{R"(a\nb)"}},
        SplitCase{"quotes_inside_a_word_join_it", R"(--title="My Title"!)",
                  Arguments{"--title=My Title!"}},
        SplitCase{"empty_quoted_argument", R"(browser "")", Arguments{"browser", ""}},
        SplitCase{"shell_characters_are_plain_text", "browser ;rm -rf $HOME|x &",
                  Arguments{"browser", ";rm", "-rf", "$HOME|x", "&"}},
        SplitCase{"open_quote", R"("browser --x)", std::nullopt},
        SplitCase{"escaped_closing_quote_leaves_it_open", R"("browser\")", std::nullopt},
        SplitCase{"nothing", "", Arguments{}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExpandFieldCodesTest, ExpandsTheCodesThatMayPrecedeTheUrl) {
    const EntryFields fields{"Web Browser", "browser-icon", "/usr/share/applications/b.desktop"};
    struct Case {
        Arguments arguments;
        std::optional<Arguments> expected;
    };
    const Case cases[] = {
        {{"b", "--zoom=100%%"}, Arguments{"b", "--zoom=100%"}},
        {{"b", "--class=%c"}, Arguments{"b", "--class=Web Browser"}},
        {{"b", "%k"}, Arguments{"b", "/usr/share/applications/b.desktop"}},
        {{"b", "%i", "-x"}, Arguments{"b", "--icon", "browser-icon", "-x"}},
        {{"b", "%d", "%N", "-x"}, Arguments{"b", "-x"}},
        {{"b", "-x%v"}, Arguments{"b", "-x"}},
        {{"b", ""}, Arguments{"b", ""}},
        {{"b", "%x"}, std::nullopt},
        {{"b", "--icon=%i"}, std::nullopt},
        {{"b", "50%"}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExpandFieldCodes(c.arguments, fields), c.expected) << c.arguments.back();
    }
    EXPECT_EQ(ExpandFieldCodes({"b", "%i"}, EntryFields{}), Arguments{"b"});
}

TEST(ComposeBrowserCommandTest, TheUrlIsOneArgumentWhateverItHolds) {
    const std::string hostile =
        "https://e.example/?q=1;rm -rf ~&x=$(id)`id`|cat>/tmp/f\n\"quoted\" 'single' \\ %u";
    const platform::BrowserCommand command =
        ComposeBrowserCommand(R"("/opt/Web Browser/run" --new-tab "%u" --ignored)", hostile, {});
    EXPECT_EQ(command.problem, CommandProblem::None);
    EXPECT_EQ(command.arguments, (Arguments{"/opt/Web Browser/run", "--new-tab", hostile}));
    EXPECT_EQ(command.line, R"("/opt/Web Browser/run" --new-tab  )" + hostile);
}

TEST(ComposeBrowserCommandTest, RefusesWhatCannotBeRunSafely) {
    struct Case {
        const char* name;
        std::string commandTemplate;
        std::string url;
        CommandProblem expected;
    };
    const Case cases[] = {
        {"url_of_ten_thousand_characters", "browser %u", std::string(10'000, 'u'),
         CommandProblem::TooLong},
        {"no_program_before_the_url", "%u", kUrl, CommandProblem::Malformed},
        {"only_blanks_before_the_url", "   %u", kUrl, CommandProblem::Malformed},
        {"empty_template", "", kUrl, CommandProblem::Malformed},
        {"quote_left_open_by_the_cut", R"(browser "--url=%u")", kUrl, CommandProblem::Malformed},
        {"unknown_field_code", "browser %z %u", kUrl, CommandProblem::Malformed},
        // Found by fuzzing: an empty quoted program was run as "".
        {"empty_program_name", R"("" --new-tab %u)", kUrl, CommandProblem::Malformed},
    };
    for (const Case& c : cases) {
        const platform::BrowserCommand command =
            ComposeBrowserCommand(c.commandTemplate, c.url, {});
        EXPECT_EQ(command.problem, c.expected) << c.name;
        EXPECT_TRUE(command.arguments.empty()) << c.name;
    }
}

}  // namespace
