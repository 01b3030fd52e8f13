// Starting another program: the only way this program runs anything. The
// arguments go to the program as they are, never through a command
// interpreter, so no character in them can start a second command.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

struct LaunchRequest {
    // arguments[0] names the program: a path when it holds a slash, otherwise
    // a name looked up in PATH.
    std::vector<std::string> arguments;
    // How long to wait for the program to end before returning. A program
    // still running then is left running, unless its output is captured.
    std::chrono::milliseconds waitForExit{0};
    // Collect what the program writes to its standard output. A program that
    // has not ended when the wait runs out is killed, since its answer would
    // come too late to be of use.
    bool captureOutput = false;
};

enum class LaunchStatus {
    NotStarted,  // the system refused to start the program; `error` holds errno
    Running,     // started, and still running when the wait ended
    Exited,      // ended by itself; `exitCode` holds its status
    Signalled,   // ended by a signal; `signal` holds its number
    TimedOut,    // its output was awaited, but it did not end in time and was killed
};

struct LaunchResult {
    LaunchStatus status = LaunchStatus::NotStarted;
    int error = 0;
    int exitCode = 0;
    int signal = 0;
    std::string output;
};

// Captured output beyond this many bytes is read and dropped, so a runaway
// program can neither fill the memory nor block on a full pipe.
inline constexpr std::size_t kMaxCapturedOutput = 64 * 1024;

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    virtual LaunchResult Run(const LaunchRequest& request) = 0;
};

// The launcher that starts real processes (posix_spawn). A program left
// running is reaped in the background when it ends, so it never lingers as
// a zombie. Its standard input is /dev/null and it starts a session of its
// own, so closing the terminal Olvanta was started from leaves it running.
ProcessLauncher& SystemProcessLauncher();

}  // namespace platform
