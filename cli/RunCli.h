// olvanta-cli as a function: the same conversion the window shows, for
// terminals and scripts.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Clock.h"

// Exit statuses of olvanta-cli.
enum CliExitStatus : int {
    kCliSuccess = 0,
    kCliDataUnreadable = 1,  // a data file could not be read
    kCliWriteFailed = 1,     // the standard output could not be written
    kCliUsage = 2,           // bad arguments, or a place name that matches nothing
    kCliConversion = 3,      // the conversion left the calendar range
};

struct CliEnvironment {
    std::filesystem::path executableDirectory;  // where the data files are by default
    const platform::Clock& clock;
};

// Runs olvanta-cli with `arguments` (without the program name) and returns
// its exit status.
int RunCli(const std::vector<std::string>& arguments, const CliEnvironment& environment,
           std::ostream& out, std::ostream& err);
