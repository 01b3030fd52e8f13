// Feeds arbitrary browser command templates and addresses to the Exec line
// splitter and the command composer, and checks that the address always ends
// up as one last argument of its own that nothing else depends on.
// Input: the template, a NUL byte, the address (no NUL: the whole input is
// the template and the address is a fixed one).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BrowserCommand.h"

namespace {

using namespace platform;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const EntryFields kFields{"Browser", "browser-icon", "/usr/share/applications/browser.desktop"};

// Writes `arguments` back as one command that splits into them again.
std::string Quote(const std::vector<std::string>& arguments) {
    std::string command;
    for (const std::string& argument : arguments) {
        command += " \"";
        for (char c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') {
                command += '\\';
            }
            command += c;
        }
        command += '"';
    }
    return command;
}

std::vector<std::string> SplitAtBlanks(std::string_view command) {
    std::vector<std::string> arguments;
    std::string current;
    for (char c : command) {
        if (c == ' ' || c == '\t' || c == '\n') {
            if (!current.empty()) {
                arguments.push_back(std::move(current));
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        arguments.push_back(std::move(current));
    }
    return arguments;
}

void CheckSplit(std::string_view command) {
    const std::optional<std::vector<std::string>> arguments = SplitCommandArguments(command);
    if (command.find('"') == std::string_view::npos) {
        // Without quotes every character outside the blanks is taken as it is.
        Check(arguments.has_value());
        Check(*arguments == SplitAtBlanks(command));
    }
    if (arguments) {
        const std::optional<std::vector<std::string>> again =
            SplitCommandArguments(Quote(*arguments));
        Check(again.has_value());
        Check(*again == *arguments);
    }
}

void CheckExpansion(const std::vector<std::string>& arguments) {
    const std::optional<std::vector<std::string>> expanded = ExpandFieldCodes(arguments, kFields);
    if (!expanded) {
        return;
    }
    // No field code survives: a '%' left over can only come from "%%".
    std::size_t literalPercents = 0;
    for (const std::string& argument : arguments) {
        for (std::size_t at = argument.find("%%"); at != std::string::npos;
             at = argument.find("%%", at + 2)) {
            ++literalPercents;
        }
    }
    std::size_t percents = 0;
    for (const std::string& argument : *expanded) {
        percents += static_cast<std::size_t>(std::count(argument.begin(), argument.end(), '%'));
    }
    Check(percents <= literalPercents);
    Check(expanded->size() <= 2 * arguments.size());
}

void CheckComposition(std::string_view commandTemplate, std::string_view url) {
    const std::string_view prefix = CommandPrefix(commandTemplate);
    Check(commandTemplate.substr(0, prefix.size()) == prefix);
    if (commandTemplate.find('%') == std::string_view::npos) {
        Check(prefix == commandTemplate);
    }

    const BrowserCommand command = ComposeBrowserCommand(commandTemplate, url, kFields);
    const bool tooLong = prefix.size() + 1 + url.size() > kMaxCommandLineLength;
    Check((command.problem == CommandProblem::TooLong) == tooLong);
    if (command.problem != CommandProblem::None) {
        Check(command.arguments.empty());
        return;
    }
    Check(command.line.size() <= kMaxCommandLineLength);
    Check(command.line == std::string(prefix) + " " + std::string(url));
    Check(command.arguments.size() >= 2);
    Check(!command.arguments.front().empty());
    Check(command.arguments.back() == url);

    // The arguments before the address come from the template alone.
    const BrowserCommand other = ComposeBrowserCommand(commandTemplate, "x", kFields);
    Check(other.problem == CommandProblem::None);
    Check(std::equal(other.arguments.begin(), other.arguments.end() - 1, command.arguments.begin(),
                     command.arguments.end() - 1));
    Check(other.arguments.size() == command.arguments.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t separator = input.find('\0');
    const std::string_view commandTemplate = input.substr(0, separator);
    const std::string_view url = separator == std::string_view::npos
                                     ? std::string_view("https://olvanta.example.org/")
                                     : input.substr(separator + 1);

    CheckSplit(commandTemplate);
    if (const auto arguments = SplitCommandArguments(commandTemplate)) {
        CheckExpansion(*arguments);
    }
    CheckComposition(commandTemplate, url);
    return 0;
}
