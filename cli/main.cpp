// olvanta-cli: converts a time from one place to another in a terminal, with
// the texts the window would show.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/RunCli.h"
#include "platform/ExecutablePath.h"

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        const platform::SystemClock clock;
        const CliEnvironment environment{platform::ExecutableDirectory(), clock};
        return RunCli(arguments, environment, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "olvanta-cli: " << error.what() << '\n';
        return 1;
    }
}
