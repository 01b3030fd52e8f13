// A program started with standard descriptors closed gets /dev/null on them,
// keeps those that were open, and the file it opens next gets a number of its
// own. Each case runs in a child process, whose descriptors it may close.
#include "platform/StandardDescriptors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

std::array<std::optional<struct stat>, 3> Standard() {
    std::array<std::optional<struct stat>, 3> files;
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        struct stat file {};
        if (::fstat(descriptor, &file) == 0) {
            files[descriptor] = file;
        }
    }
    return files;
}

bool SameFile(const std::optional<struct stat>& a, const struct stat& b) {
    return a && a->st_dev == b.st_dev && a->st_ino == b.st_ino;
}

// Whether, in a child process with `closed` closed, the guard puts /dev/null
// on those (and on any closed from the start), leaves the others as they
// were, and the next file opened gets a number above 2.
bool GuardedInChild(const std::vector<int>& closed) {
    const pid_t child = ::fork();
    if (child == 0) {
        struct stat devNull {};
        ::stat("/dev/null", &devNull);
        const auto before = Standard();
        for (const int descriptor : closed) {
            ::close(descriptor);
        }
        platform::OpenClosedStandardDescriptors();
        const auto after = Standard();
        bool kept = true;
        for (int descriptor = 0; descriptor <= 2; ++descriptor) {
            const bool wasClosed =
                std::find(closed.begin(), closed.end(), descriptor) != closed.end() ||
                !before[descriptor];
            kept = kept && SameFile(after[descriptor], wasClosed ? devNull : *before[descriptor]);
        }
        ::_exit(kept && ::open("/dev/null", O_RDONLY) > 2 ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST(StandardDescriptorsTest, ClosedOnesGetDevNullAndOpenOnesStay) {
    const std::vector<std::vector<int>> cases{{}, {0}, {2}, {1, 2}, {0, 1, 2}};
    for (const std::vector<int>& closed : cases) {
        std::string name;
        for (const int descriptor : closed) {
            name += std::to_string(descriptor) + " ";
        }
        EXPECT_TRUE(GuardedInChild(closed)) << "closed: " << name;
    }
}

}  // namespace
