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
#include <string>
#include <vector>

namespace {

bool IsFile(int descriptor, const struct stat& file) {
    struct stat open {};
    return ::fstat(descriptor, &open) == 0 && open.st_dev == file.st_dev &&
           open.st_ino == file.st_ino;
}

// Whether, in a child process with `closed` closed, the guard puts /dev/null
// on those (and on any closed from the start), leaves the others as they
// were, and the next file opened gets a number above 2.
bool GuardedInChild(const std::vector<int>& closed) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::array<struct stat, 3> expected{};
        for (int descriptor = 0; descriptor <= 2; ++descriptor) {
            if (std::count(closed.begin(), closed.end(), descriptor) != 0 ||
                ::fstat(descriptor, &expected[descriptor]) != 0) {
                ::stat("/dev/null", &expected[descriptor]);
            }
        }
        for (const int descriptor : closed) {
            ::close(descriptor);
        }
        platform::OpenClosedStandardDescriptors();
        bool guarded = ::open("/dev/null", O_RDONLY) > 2;
        for (int descriptor = 0; descriptor <= 2; ++descriptor) {
            guarded = guarded && IsFile(descriptor, expected[descriptor]);
        }
        ::_exit(guarded ? 0 : 1);
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
