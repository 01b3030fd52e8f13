// The command that starts the default web browser on a URL, made from the
// browser's command template (the Exec line of its desktop entry): the
// template is cut where the URL belongs and the URL is added after it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The longest command line that may be composed; a longer one is refused
// instead of being cut short.
inline constexpr std::size_t kMaxCommandLineLength = 519;

// The template up to its first URL or file placeholder (%u, %U, %f, %F or
// %1). A placeholder standing in double quotes ("%u") is preferred to a bare
// one and the cut is made at its opening quote. "%%" is a literal percent
// sign, never a placeholder. A template without a placeholder is kept whole.
std::string_view CommandPrefix(std::string_view commandTemplate);

// The command as one line: the prefix, one blank, the URL as it stands.
// Nothing when it would be longer than kMaxCommandLineLength.
std::optional<std::string> ComposeCommandLine(std::string_view commandTemplate,
                                              std::string_view url);

// Splits a command into arguments by the desktop entry quoting rules:
// blanks and tabs separate arguments; inside double quotes a backslash
// before " ` $ or a backslash stands for that character. Outside quotes every other
// character is taken literally, since no shell ever reads the result.
// Nothing when a quote is left open.
std::optional<std::vector<std::string>> SplitCommandArguments(std::string_view command);

// What the field codes that may stand before the URL's place refer to.
struct EntryFields {
    std::string name;      // %c
    std::string icon;      // %i, as "--icon" and the icon
    std::string location;  // %k, the desktop entry's own path
};

// Expands %%, %c, %k and %i, and drops the deprecated %d %D %n %N %v %m.
// Nothing when an argument holds any other field code: such an entry is
// invalid and is not run.
std::optional<std::vector<std::string>> ExpandFieldCodes(const std::vector<std::string>& arguments,
                                                         const EntryFields& fields);

enum class CommandProblem {
    None,
    TooLong,    // the command line would be longer than kMaxCommandLineLength
    Malformed,  // an open quote, an unknown field code, or no (or an empty) program
                // before the URL
};

struct BrowserCommand {
    CommandProblem problem = CommandProblem::None;
    std::string line;                    // for the length limit and for messages
    std::vector<std::string> arguments;  // what is run: the URL is always the last, alone
};

BrowserCommand ComposeBrowserCommand(std::string_view commandTemplate, std::string_view url,
                                     const EntryFields& fields);

}  // namespace platform
