// Replacing a data file so that a reader sees the old file or the new one,
// never a part of either: a temporary file beside it, flushed to disk,
// readable by everyone, then renamed over it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tzgen {

struct FileReplacement {
    enum class Outcome { Written, Unchanged, Failed };
    Outcome outcome = Outcome::Failed;
    std::string failure;  // what went wrong, for Failed
};

// A file that already holds `text` is left as it is (its time stamp too).
FileReplacement ReplaceFile(const std::filesystem::path& path, std::string_view text);

}  // namespace tzgen
