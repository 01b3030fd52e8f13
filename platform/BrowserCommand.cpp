#include "platform/BrowserCommand.h"

#include <cstring>

namespace platform {
namespace {

bool IsUrlPlaceholder(char code) {
    return code == 'u' || code == 'U' || code == 'f' || code == 'F' || code == '1';
}

bool IsDeprecatedFieldCode(char code) {
    return std::strchr("dDnNvm", code) != nullptr;
}

bool IsEscapableInQuotes(char character) {
    return character == '"' || character == '`' || character == '$' || character == '\\';
}

// Expands the field codes inside one argument; nothing for an unknown code.
std::optional<std::string> ExpandArgument(const std::string& argument, const EntryFields& fields) {
    std::string expanded;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] != '%') {
            expanded += argument[i];
            continue;
        }
        if (++i == argument.size()) {
            return std::nullopt;
        }
        const char code = argument[i];
        if (code == '%') {
            expanded += '%';
        } else if (code == 'c') {
            expanded += fields.name;
        } else if (code == 'k') {
            expanded += fields.location;
        } else if (!IsDeprecatedFieldCode(code)) {
            return std::nullopt;
        }
    }
    return expanded;
}

}  // namespace

std::string_view CommandPrefix(std::string_view commandTemplate) {
    std::size_t firstQuoted = std::string_view::npos;
    std::size_t firstBare = std::string_view::npos;
    for (std::size_t i = 0; i + 1 < commandTemplate.size(); ++i) {
        if (commandTemplate[i] != '%') {
            continue;
        }
        const char code = commandTemplate[++i];  // skipping it keeps "%%u" a literal
        if (!IsUrlPlaceholder(code)) {
            continue;
        }
        const std::size_t percent = i - 1;
        const bool quoted = percent > 0 && commandTemplate[percent - 1] == '"' &&
                            i + 1 < commandTemplate.size() && commandTemplate[i + 1] == '"';
        if (quoted && firstQuoted == std::string_view::npos) {
            firstQuoted = percent - 1;
        } else if (!quoted && firstBare == std::string_view::npos) {
            firstBare = percent;
        }
    }
    const std::size_t cut = firstQuoted != std::string_view::npos ? firstQuoted : firstBare;
    return commandTemplate.substr(0, cut);
}

std::optional<std::string> ComposeCommandLine(std::string_view commandTemplate,
                                              std::string_view url) {
    const std::string_view prefix = CommandPrefix(commandTemplate);
    if (prefix.size() + 1 + url.size() > kMaxCommandLineLength) {
        return std::nullopt;
    }
    std::string line(prefix);
    line += ' ';
    line += url;
    return line;
}

std::optional<std::vector<std::string>> SplitCommandArguments(std::string_view command) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool inQuotes = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char character = command[i];
        if (inQuotes) {
            if (character == '"') {
                inQuotes = false;
            } else if (character == '\\' && i + 1 < command.size() &&
                       IsEscapableInQuotes(command[i + 1])) {
                current += command[++i];
            } else {
                current += character;
            }
        } else if (character == ' ' || character == '\t' || character == '\n') {
            if (inArgument) {
                arguments.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
        } else {
            inQuotes = character == '"';
            if (!inQuotes) {
                current += character;
            }
            inArgument = true;
        }
    }
    if (inQuotes) {
        return std::nullopt;
    }
    if (inArgument) {
        arguments.push_back(std::move(current));
    }
    return arguments;
}

std::optional<std::vector<std::string>> ExpandFieldCodes(const std::vector<std::string>& arguments,
                                                         const EntryFields& fields) {
    std::vector<std::string> expanded;
    for (const std::string& argument : arguments) {
        if (argument == "%i") {
            if (!fields.icon.empty()) {
                expanded.push_back("--icon");
                expanded.push_back(fields.icon);
            }
            continue;
        }
        std::optional<std::string> result = ExpandArgument(argument, fields);
        if (!result) {
            return std::nullopt;
        }
        // An argument made only of codes that stand for nothing goes away
        // whole; an argument that was empty to begin with ("") stays.
        if (!result->empty() || argument.empty()) {
            expanded.push_back(std::move(*result));
        }
    }
    return expanded;
}

BrowserCommand ComposeBrowserCommand(std::string_view commandTemplate, std::string_view url,
                                     const EntryFields& fields) {
    BrowserCommand command;
    std::optional<std::string> line = ComposeCommandLine(commandTemplate, url);
    if (!line) {
        command.problem = CommandProblem::TooLong;
        return command;
    }
    command.line = std::move(*line);
    std::optional<std::vector<std::string>> arguments;
    if (std::optional<std::vector<std::string>> split =
            SplitCommandArguments(CommandPrefix(commandTemplate))) {
        arguments = ExpandFieldCodes(*split, fields);
    }
    // Without a program before the URL's place the URL itself would be run;
    // an empty program name ("") names no program either.
    if (!arguments || arguments->empty() || arguments->front().empty()) {
        command.problem = CommandProblem::Malformed;
        return command;
    }
    command.arguments = std::move(*arguments);
    command.arguments.emplace_back(url);
    return command;
}

}  // namespace platform
