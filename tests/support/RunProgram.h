// Runs a program with arguments (no shell) and waits for it; tests use it to
// compile zone sources with zic and to run the tools and olvanta-cli as a
// person would.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

// Where a program's standard output and standard error go: files, or
// (empty) the test's own.
struct ProgramOutputFiles {
    std::string out;
    std::string err;
};

// The program's exit status, or -1 when it could not be started or did not
// exit normally.
inline int RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramOutputFiles& output = {}) {
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    const int flags = O_WRONLY | O_CREAT | O_TRUNC;
    if (!output.out.empty()) {
        ::posix_spawn_file_actions_addopen(&actions, 1, output.out.c_str(), flags, 0644);
    }
    if (!output.err.empty()) {
        ::posix_spawn_file_actions_addopen(&actions, 2, output.err.c_str(), flags, 0644);
    }
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}
