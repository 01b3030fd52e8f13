#include "platform/AtomicFile.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempDir.h"
#include "support/UnprivilegedFiles.h"

namespace {

namespace fs = std::filesystem;
using platform::WriteStep;

constexpr fs::perms kPrivate = fs::perms::owner_read | fs::perms::owner_write;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t EntryCount(const fs::path& directory) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(directory)) {
        ++count;
    }
    return count;
}

// Fails `step` with `error` and lets every other step run.
platform::WriteStepHook FailAt(WriteStep step, int error) {
    return [step, error](WriteStep now) { return now == step ? error : 0; };
}

TEST(AtomicFileTest, ReplacesTheFileAndSetsItsPermissions) {
    TempDir dir;
    const fs::path target = dir.Write("a.conf", "old\n");
    fs::permissions(target, fs::perms::owner_all);
    ASSERT_EQ(platform::ReplaceFileAtomically(target, "new\n", kPrivate), 0);
    EXPECT_EQ(Read(target), "new\n");
    EXPECT_EQ(fs::status(target).permissions(), kPrivate);
    EXPECT_EQ(EntryCount(dir.Path()), 1u);

    ASSERT_EQ(platform::ReplaceFileAtomically(dir.Path() / "fresh", "", kPrivate), 0);
    EXPECT_TRUE(fs::is_regular_file(dir.Path() / "fresh"));
}

TEST(AtomicFileTest, AFailedStepLeavesTheOldFileOrTheNewOneAndNoLeftovers) {
    for (int step = 0; step < platform::kWriteStepCount; ++step) {
        for (int error : {ENOSPC, EIO, EACCES}) {
            TempDir dir;
            const fs::path target = dir.Write("a.conf", "old\n");
            const auto failing = static_cast<WriteStep>(step);
            EXPECT_EQ(
                platform::ReplaceFileAtomically(target, "new\n", kPrivate, FailAt(failing, error)),
                error);
            const bool renamed = failing > WriteStep::Rename;
            EXPECT_EQ(Read(target), renamed ? "new\n" : "old\n") << step;
            EXPECT_EQ(EntryCount(dir.Path()), 1u) << step;
        }
    }
}

TEST(AtomicFileTest, ACrashAtAnyStepLeavesTheOldFileOrTheNewOne) {
    for (int step = 0; step < platform::kWriteStepCount; ++step) {
        TempDir dir;
        const fs::path target = dir.Write("a.conf", "old\n");
        const auto crashing = static_cast<WriteStep>(step);
        // The process ends where it stands: no destructor removes the new file.
        const platform::WriteStepHook crash = [crashing](WriteStep now) {
            if (now == crashing) {
                ::_exit(3);
            }
            return 0;
        };
        EXPECT_EXIT(platform::ReplaceFileAtomically(target, "new\n", kPrivate, crash),
                    ::testing::ExitedWithCode(3), "");
        EXPECT_EQ(Read(target), crashing > WriteStep::Rename ? "new\n" : "old\n") << step;
    }
}

TEST(AtomicFileTest, ADirectoryThatCannotBeWrittenIsReported) {
    TempDir dir;
    EXPECT_EQ(platform::ReplaceFileAtomically(dir.Path() / "missing" / "a.conf", "x", kPrivate),
              ENOENT);
    const fs::path target = dir.Write("locked/a.conf", "old\n");
    ScopedUnprivilegedFiles::LetPass(dir.Path());
    ScopedUnprivilegedFiles::Own(target, 0600);
    ScopedUnprivilegedFiles::Own(target.parent_path(), 0500);
    {
        const ScopedUnprivilegedFiles asTheFilesOwner;
        EXPECT_EQ(platform::ReplaceFileAtomically(target, "new\n", kPrivate), EACCES);
    }
    fs::permissions(target.parent_path(), fs::perms::owner_all);
    EXPECT_EQ(Read(target), "old\n");
}

}  // namespace
