// Closing the window over and over while the settings file's replacement is
// interrupted at a random step each time: by an error (a full disk, a failing
// device, a refused permission) or by the process dying on the spot. After
// every save the file must hold exactly the old contents or exactly the new,
// and a save that kept the old contents must have told the user.
//
//   settings_fault_bench [saves (default 10000)] [seed (default 1)]
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "app/settings/Settings.h"
#include "platform/FileKeyStore.h"
#include "platform/ValueFile.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using platform::WriteStep;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// What a successful save makes of `old`.
std::string Saved(const std::string& old, std::int32_t base, std::int32_t remote) {
    std::optional<platform::ValueFile> file = platform::ValueFile::Parse(old);
    if (!file) {
        return {};
    }
    file->SetDword("timezones_Base_Location", static_cast<std::uint32_t>(base));
    file->SetDword("timezones_Remote_Location", static_cast<std::uint32_t>(remote));
    return file->Text();
}

// Removes what crashed saves left beside the settings file; returns how many.
int RemoveLeftovers(const fs::path& directory) {
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        if (entry.path().filename() != "Olvanta.conf") {
            fs::remove(entry.path());
            ++count;
        }
    }
    return count;
}

struct Fault {
    bool active = false;
    WriteStep step = WriteStep::CreateTemporary;
    int error = 0;       // the step's errno, or
    bool crash = false;  // the process ends at the step
};

constexpr const char* kStepNames[platform::kWriteStepCount] = {
    "create temporary", "write", "sync file", "close file", "rename", "sync directory"};

// The outcomes of the saves interrupted at one step in one way.
struct Outcomes {
    int saves = 0, oldKept = 0, newWritten = 0, neither = 0, reported = 0, leftovers = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const int saves = argc > 1 ? std::atoi(argv[1]) : 10'000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> anyStep(0, platform::kWriteStepCount - 1);
    std::uniform_int_distribution<std::int32_t> anyPosition(-1, 2000);
    const int errors[] = {ENOSPC, EDQUOT, EIO, EACCES, EROFS};
    std::uniform_int_distribution<std::size_t> anyError(0, std::size(errors) - 1);

    TempDir dir;
    Fault fault;
    platform::FileKeyStore store(dir.Path(), [&fault](WriteStep step) {
        if (!fault.active || step != fault.step) {
            return 0;
        }
        if (fault.crash) {
            ::_exit(0);
        }
        return fault.error;
    });
    const fs::path conf = dir.Path() / "Quandelle" / "Olvanta.conf";
    RecordingMessageSink firstStart;
    LoadSettings(store, firstStart);

    Outcomes byError[platform::kWriteStepCount];
    Outcomes byCrash[platform::kWriteStepCount];
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < saves; ++i) {
        const std::string before = ReadFile(conf);
        g_baseLocation = anyPosition(random);
        g_remoteLocation = anyPosition(random);
        const std::string expected = Saved(before, g_baseLocation, g_remoteLocation);
        fault = Fault{true, static_cast<WriteStep>(anyStep(random)), errors[anyError(random)],
                      i % 4 == 3};
        Outcomes& outcomes = (fault.crash ? byCrash : byError)[static_cast<int>(fault.step)];
        ++outcomes.saves;

        if (fault.crash) {
            std::fflush(nullptr);
            const pid_t child = ::fork();
            if (child == 0) {
                RecordingMessageSink messages;
                SaveSettings(store, messages);
                ::_exit(1);  // the step never came: the fault was not injected
            }
            int status = 0;
            if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
                WEXITSTATUS(status) != 0) {
                std::fprintf(stderr, "save %d: the writer did not end at its step\n", i);
                return 2;
            }
        } else {
            RecordingMessageSink messages;
            SaveSettings(store, messages);
            outcomes.reported += messages.Messages().empty() ? 0 : 1;
        }
        fault.active = false;

        const std::string after = ReadFile(conf);
        const bool kept = after == before;
        const bool written = !kept && after == expected && !expected.empty();
        outcomes.oldKept += kept ? 1 : 0;
        outcomes.newWritten += written ? 1 : 0;
        outcomes.neither += kept || written ? 0 : 1;
        outcomes.leftovers += RemoveLeftovers(conf.parent_path());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::printf("%d saves (seed %u), each interrupted at a random step of the file's replacement\n",
                saves, seed);
    std::printf("%-16s %-6s %6s %6s %6s %6s %9s %10s\n", "step", "how", "saves", "old", "new",
                "other", "reported", "leftovers");
    Outcomes total;
    int lostSilently = 0;
    int leftoversAfterErrors = 0;
    for (int step = 0; step < platform::kWriteStepCount; ++step) {
        for (const bool crash : {false, true}) {
            const Outcomes& o = (crash ? byCrash : byError)[step];
            std::printf("%-16s %-6s %6d %6d %6d %6d %9s %10d\n", kStepNames[step],
                        crash ? "crash" : "error", o.saves, o.oldKept, o.newWritten, o.neither,
                        crash ? "-" : std::to_string(o.reported).c_str(), o.leftovers);
            total.saves += o.saves;
            total.oldKept += o.oldKept;
            total.newWritten += o.newWritten;
            total.neither += o.neither;
            if (!crash) {
                total.reported += o.reported;
                lostSilently += o.saves - o.reported;
                leftoversAfterErrors += o.leftovers;
            }
        }
    }
    std::printf(
        "total: %d saves; file afterwards: old contents %d, new contents %d, anything "
        "else %d\n",
        total.saves, total.oldKept, total.newWritten, total.neither);
    std::printf("failing saves without a message: %d; temporary files left after errors: %d\n",
                lostSilently, leftoversAfterErrors);
    std::printf("time: %.2f s, %.3f ms per save\n", seconds, seconds * 1e3 / saves);
    return total.neither == 0 && lostSilently == 0 && leftoversAfterErrors == 0 ? 0 : 1;
}
