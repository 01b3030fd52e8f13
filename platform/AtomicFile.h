// Replacing a file so that a crash, a full disk or a failing write at any
// moment leaves either the old file or the new one: never a mix, never a
// truncated or empty file.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace platform {

// The steps of a replacement, in the order they are taken.
enum class WriteStep {
    CreateTemporary,  // a new file beside the target, with the target's mode
    Write,
    SyncFile,
    CloseFile,
    Rename,         // over the target: from here on the new contents are in place
    SyncDirectory,  // so that the rename itself survives a crash
};
inline constexpr int kWriteStepCount = 6;

// Called before each step. Returning an errno value makes the step fail with
// it, as if the system had reported it; 0 lets it run. Tests use it to
// interrupt a replacement at every step.
using WriteStepHook = std::function<int(WriteStep)>;

// Writes `contents` to a new file in the target's directory, flushes it to
// disk, renames it over `target` and flushes the directory. The file is given
// `permissions`. Returns 0, or the errno of the step that failed; after a
// failure before the rename the new file is removed and `target` is as it was.
// A file system that cannot flush a directory is no failure.
int ReplaceFileAtomically(const std::filesystem::path& target, std::string_view contents,
                          std::filesystem::perms permissions, const WriteStepHook& hook = {});

}  // namespace platform
