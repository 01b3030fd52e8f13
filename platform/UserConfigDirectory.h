// Where per-user settings live: the XDG base directory for configuration.
#pragma once

#include <filesystem>
#include <optional>

namespace platform {

// $XDG_CONFIG_HOME when it is set to an absolute path (a relative or empty
// one is ignored, as the XDG rules ask), otherwise .config in the home
// directory: $HOME when it is absolute, else the user database's. Nothing when
// no absolute directory can be found.
std::optional<std::filesystem::path> UserConfigDirectory();

// The same choice from given values (null for an unset variable), the user
// database's home directory included; the variables are read by the caller.
std::optional<std::filesystem::path> ChooseConfigDirectory(const char* xdgConfigHome,
                                                           const char* home,
                                                           const char* databaseHome);

}  // namespace platform
