// Where the running program lives: data files are looked up beside it, never in
// the working directory, so a link to the program still finds them.
#pragma once

#include <filesystem>

namespace platform {

// The directory holding the running executable, symbolic links resolved.
// Throws std::system_error when the platform cannot tell.
std::filesystem::path ExecutableDirectory();

}  // namespace platform
