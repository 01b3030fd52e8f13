#include "platform/ProcessLauncher.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

extern char** environ;

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

class FileDescriptor {
public:
    FileDescriptor() = default;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }

    void Reset(int descriptor) {
        Close();
        m_descriptor = descriptor;
    }

    int Get() const { return m_descriptor; }
    void Close() {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
            m_descriptor = -1;
        }
    }

private:
    int m_descriptor = -1;
};

// The spawn attributes every child gets: default handling for every signal
// (an ignored SIGPIPE or SIGCHLD of ours must not leak into a browser), an
// empty signal mask, and a session of its own.
class SpawnAttributes {
public:
    SpawnAttributes() {
        ::posix_spawnattr_init(&m_attributes);
        sigset_t defaults;
        sigfillset(&defaults);
        sigdelset(&defaults, SIGKILL);
        sigdelset(&defaults, SIGSTOP);
        ::posix_spawnattr_setsigdefault(&m_attributes, &defaults);
        sigset_t mask;
        sigemptyset(&mask);
        ::posix_spawnattr_setsigmask(&m_attributes, &mask);
        ::posix_spawnattr_setflags(
            &m_attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSID);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    ~SpawnAttributes() { ::posix_spawnattr_destroy(&m_attributes); }

    const posix_spawnattr_t* Get() const { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
};

class FileActions {
public:
    FileActions() { ::posix_spawn_file_actions_init(&m_actions); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    ~FileActions() { ::posix_spawn_file_actions_destroy(&m_actions); }

    posix_spawn_file_actions_t* Get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

LaunchResult NotStarted(int error) {
    LaunchResult result;
    result.status = LaunchStatus::NotStarted;
    result.error = error;
    return result;
}

LaunchResult FromWaitStatus(int status) {
    LaunchResult result;
    if (WIFSIGNALED(status)) {
        result.status = LaunchStatus::Signalled;
        result.signal = WTERMSIG(status);
    } else {
        result.status = LaunchStatus::Exited;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    }
    return result;
}

// Polls for the end of the child until the deadline; a deadline already past
// still looks once. Returns its wait status once it has ended.
std::optional<int> WaitUntil(pid_t pid, Clock::time_point deadline) {
    constexpr auto kPollStep = std::chrono::milliseconds(5);
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return status;
        }
        if (done < 0 && errno != EINTR) {
            return 0;  // reaped elsewhere: it has ended, its status is lost
        }
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(kPollStep, deadline - now));
    }
}

int WaitForever(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

void ReapInBackground(pid_t pid) {
    try {
        std::thread([pid] { WaitForever(pid); }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the child stays a zombie until the program
        // ends, which costs one process-table entry and nothing else.
    }
}

// Reads the pipe until its writer closes it or the deadline passes. Returns
// whether the end was reached.
bool ReadOutput(int descriptor, Clock::time_point deadline, std::string& output) {
    char buffer[4096];
    for (;;) {
        const auto remaining =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (remaining.count() <= 0) {
            return false;
        }
        pollfd readable{descriptor, POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(remaining.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (count <= 0) {
            return true;
        }
        const std::size_t room = kMaxCapturedOutput - std::min(output.size(), kMaxCapturedOutput);
        output.append(buffer, std::min(static_cast<std::size_t>(count), room));
    }
}

bool HoldsNul(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) {
        return argument.find('\0') != std::string::npos;
    });
}

class SpawnLauncher final : public ProcessLauncher {
public:
    LaunchResult Run(const LaunchRequest& request) override {
        // A NUL would silently cut an argument short; refuse instead.
        if (request.arguments.empty() || HoldsNul(request.arguments)) {
            return NotStarted(EINVAL);
        }
        FileActions actions;
        ::posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        FileDescriptor readEnd;
        FileDescriptor writeEnd;
        if (request.captureOutput) {
            int ends[2];
            if (::pipe2(ends, O_CLOEXEC) != 0) {
                return NotStarted(errno);
            }
            readEnd.Reset(ends[0]);
            writeEnd.Reset(ends[1]);
            ::posix_spawn_file_actions_adddup2(actions.Get(), writeEnd.Get(), STDOUT_FILENO);
        }
        std::vector<char*> argv;
        argv.reserve(request.arguments.size() + 1);
        for (const std::string& argument : request.arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);

        const SpawnAttributes attributes;
        const Clock::time_point deadline = Clock::now() + request.waitForExit;
        pid_t pid = 0;
        const int error =
            ::posix_spawnp(&pid, argv[0], actions.Get(), attributes.Get(), argv.data(), environ);
        if (error != 0) {
            return NotStarted(error);
        }
        writeEnd.Close();  // so the pipe reports its end when the child closes its copy
        return request.captureOutput ? CollectOutput(pid, readEnd.Get(), deadline)
                                     : AwaitExit(pid, deadline);
    }

private:
    static LaunchResult AwaitExit(pid_t pid, Clock::time_point deadline) {
        if (const std::optional<int> status = WaitUntil(pid, deadline)) {
            return FromWaitStatus(*status);
        }
        ReapInBackground(pid);
        LaunchResult result;
        result.status = LaunchStatus::Running;
        return result;
    }

    static LaunchResult CollectOutput(pid_t pid, int descriptor, Clock::time_point deadline) {
        std::string output;
        std::optional<int> status;
        if (ReadOutput(descriptor, deadline, output)) {
            status = WaitUntil(pid, deadline);
        }
        LaunchResult result;
        if (status) {
            result = FromWaitStatus(*status);
        } else {
            // The child leads a process group of its own: end its helpers too.
            if (::kill(-pid, SIGKILL) != 0) {
                ::kill(pid, SIGKILL);
            }
            WaitForever(pid);
            result.status = LaunchStatus::TimedOut;
        }
        result.output = std::move(output);
        return result;
    }
};

}  // namespace

ProcessLauncher& SystemProcessLauncher() {
    static SpawnLauncher launcher;
    return launcher;
}

}  // namespace platform
