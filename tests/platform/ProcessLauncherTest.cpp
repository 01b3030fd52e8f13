#include "platform/ProcessLauncher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <sstream>
#include <string>

#include "support/TempDir.h"

namespace {

using platform::LaunchRequest;
using platform::LaunchResult;
using platform::LaunchStatus;
using namespace std::chrono_literals;

LaunchResult Launch(std::vector<std::string> arguments, std::chrono::milliseconds wait = 10s,
                    bool capture = false) {
    LaunchRequest request;
    request.arguments = std::move(arguments);
    request.waitForExit = wait;
    request.captureOutput = capture;
    return platform::SystemProcessLauncher().Run(request);
}

LaunchResult Capture(std::vector<std::string> arguments) {
    return Launch(std::move(arguments), 10s, true);
}

TEST(ProcessLauncherTest, ReportsHowAProgramEnded) {
    const LaunchResult success = Launch({"true"});
    EXPECT_EQ(success.status, LaunchStatus::Exited);
    EXPECT_EQ(success.exitCode, 0);

    const LaunchResult three = Launch({"sh", "-c", "exit 3"});
    EXPECT_EQ(three.status, LaunchStatus::Exited);
    EXPECT_EQ(three.exitCode, 3);

    const LaunchResult killed = Launch({"sh", "-c", "kill -TERM $$"});
    EXPECT_EQ(killed.status, LaunchStatus::Signalled);
    EXPECT_EQ(killed.signal, SIGTERM);
}

TEST(ProcessLauncherTest, ReportsWhyAProgramDidNotStart) {
    const TempDir dir;
    const std::filesystem::path plain = dir.Write("plain", "just text\n");
    const std::filesystem::path garbage = dir.Write("garbage", std::string("\x7f\x01\x02", 3));
    ASSERT_EQ(::chmod(garbage.c_str(), 0700), 0);
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int error;
    };
    const Case cases[] = {
        {"missing_program", {"olvanta-no-such-program-anywhere"}, ENOENT},
        {"missing_path", {(dir.Path() / "absent").string()}, ENOENT},
        {"directory", {dir.Path().string()}, EACCES},
        {"not_executable", {plain.string()}, EACCES},
        {"no_executable_format", {garbage.string()}, ENOEXEC},
        {"no_arguments", {}, EINVAL},
        {"nul_inside_an_argument", {"echo", std::string("a\0b", 3)}, EINVAL},
    };
    for (const Case& c : cases) {
        const LaunchResult result = Launch(c.arguments);
        EXPECT_EQ(result.status, LaunchStatus::NotStarted) << c.name;
        EXPECT_EQ(result.error, c.error) << c.name;
    }
}

TEST(ProcessLauncherTest, ArgumentsArriveExactlyAsGiven) {
    const std::string arguments[] = {
        "; touch /tmp/olvanta-pwned #",
        "$(id) `id` $HOME ${PATH}",
        "a\nb\r\n\"c\" 'd' \\e",
        "*?[a-z] ~ | & > < !",
        "",
        std::string(10'000, 'x'),
    };
    for (const std::string& argument : arguments) {
        const LaunchResult result = Capture({"printf", "%s", argument});
        EXPECT_EQ(result.status, LaunchStatus::Exited);
        EXPECT_EQ(result.output, argument);
    }
}

TEST(ProcessLauncherTest, AProgramStillRunningIsLeftRunningUnlessItsOutputIsAwaited) {
    const LaunchResult running = Launch({"sleep", "1"}, 50ms);
    EXPECT_EQ(running.status, LaunchStatus::Running);

    const LaunchResult late = Launch({"sh", "-c", "echo early; exec sleep 30"}, 200ms, true);
    EXPECT_EQ(late.status, LaunchStatus::TimedOut);
    EXPECT_EQ(late.output, "early\n");
}

TEST(ProcessLauncherTest, CapturedOutputIsBounded) {
    const LaunchResult result = Capture({"head", "-c", "200000", "/dev/zero"});
    EXPECT_EQ(result.status, LaunchStatus::Exited);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, std::string(platform::kMaxCapturedOutput, '\0'));
}

TEST(ProcessLauncherTest, TheChildStartsCleanAndDetached) {
    // Nothing to read on standard input: a program that reads it ends at once.
    const LaunchResult input = Capture({"cat"});
    EXPECT_EQ(input.status, LaunchStatus::Exited);
    EXPECT_EQ(input.output, "");

    // A signal this process ignores is not ignored by the child. (Signals
    // above 31 belong to the C library and are left alone.)
    struct sigaction previous {};
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGPIPE, &ignore, &previous), 0);
    const LaunchResult status = Capture({"grep", "SigIgn", "/proc/self/status"});
    ::sigaction(SIGPIPE, &previous, nullptr);
    ASSERT_EQ(status.output.rfind("SigIgn:\t", 0), 0u) << status.output;
    const unsigned long long ignored = std::stoull(status.output.substr(8), nullptr, 16);
    EXPECT_EQ(ignored & 0x7FFFFFFFull, 0u) << status.output;

    // It leads a session of its own: fields 1 (pid) and 6 (session) agree.
    const LaunchResult stat = Capture({"cat", "/proc/self/stat"});
    const std::string afterName = stat.output.substr(stat.output.rfind(')') + 2);
    std::istringstream fields(afterName);
    std::string state;
    long parent = 0, group = 0, session = 0;
    fields >> state >> parent >> group >> session;
    EXPECT_EQ(std::stol(stat.output), session);
    EXPECT_EQ(group, session);
    EXPECT_EQ(parent, static_cast<long>(::getpid()));
}

}  // namespace
