// Closing the window over and over while the process is killed (SIGKILL) at a
// random moment of each save, from its start to a little after its usual end.
// After every save the settings file must hold exactly the old positions or
// exactly the new ones; prints how many did.
//
//   settings_kill_bench [saves (default 1000)] [seed (default 1)]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "app/settings/Settings.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Saved(int base, int remote) {
    return "[General]\ntimezones_Base_Location=" + std::to_string(base) +
           "\ntimezones_Remote_Location=" + std::to_string(remote) + "\n";
}

// How long the last save ran, from its call to the end of its process.
std::chrono::microseconds g_lastSave{0};

// One closing save of `base` and `base + 1` in a child process, killed
// `delay` after the save began unless it finished first (never without a
// delay); true when it was killed.
bool SaveAndKill(int base, std::optional<std::chrono::microseconds> delay) {
    int ready[2];
    if (::pipe(ready) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        g_baseLocation = base;
        g_remoteLocation = base + 1;
        const bool told = ::write(ready[1], "s", 1) == 1;
        const SettingsOutcome saved = SaveSettings();
        ::_exit(told && saved == SettingsOutcome::Done ? 0 : 5);
    }
    ::close(ready[1]);
    char started = 0;
    const bool began = ::read(ready[0], &started, 1) == 1;
    ::close(ready[0]);
    const Clock::time_point start = Clock::now();
    if (delay && began) {
        ::usleep(static_cast<useconds_t>(delay->count()));
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    g_lastSave = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "a save that ran to its end failed or showed a message\n");
        std::exit(1);
    }
    return WIFSIGNALED(status);
}

}  // namespace

int main(int argc, char** argv) {
    const int saves = argc > 1 ? std::atoi(argv[1]) : 1000;
    std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u);
    const TempDir config;
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    const fs::path file = config.Path() / "Quandelle" / "Olvanta.conf";

    // How long a save takes here, so that the kills fall anywhere from its
    // start to a little after its end.
    std::chrono::microseconds whole{0};
    for (int i = 0; i < 20; ++i) {
        SaveAndKill(0, std::nullopt);
        whole += g_lastSave / 20;
    }
    std::uniform_int_distribution<long> delay(0, whole.count() * 5 / 4);

    int killed = 0;
    int oldKept = 0;
    int newWritten = 0;
    int other = 0;
    std::string current = ReadFile(file);
    int base = 0;
    for (int i = 0; i < saves; ++i) {
        base = (base + 2) % 1000;
        killed += SaveAndKill(base, std::chrono::microseconds(delay(random)));
        const std::string now = ReadFile(file);
        if (now == current) {
            ++oldKept;
        } else if (now == Saved(base, base + 1)) {
            ++newWritten;
            current = now;
        } else {
            ++other;
            std::fprintf(stderr, "save %d left:\n%s\n", i, now.c_str());
            current = now;
        }
    }
    int leftBehind = 0;
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
        if (entry.path() != file) {
            ++leftBehind;
            std::fprintf(stderr, "left beside: %s\n", entry.path().filename().c_str());
        }
    }
    std::printf(
        "saves=%d killed_before_their_end=%d old_file=%d new_file=%d neither=%d "
        "whole_save_us=%lld files_left_beside=%d\n",
        saves, killed, oldKept, newWritten, other, static_cast<long long>(whole.count()),
        leftBehind);
    return other == 0 ? 0 : 1;
}
