#include "platform/UserConfigDirectory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace platform {
namespace {

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

// The home directory in the user database, for a session started without a
// usable $HOME (a service, or `env -i`).
std::optional<std::string> DatabaseHome() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

}  // namespace

std::optional<std::filesystem::path> ChooseConfigDirectory(const char* xdgConfigHome,
                                                           const char* home,
                                                           const char* databaseHome) {
    if (IsAbsolute(xdgConfigHome)) {
        return std::filesystem::path(xdgConfigHome);
    }
    const char* chosenHome = IsAbsolute(home) ? home : databaseHome;
    if (!IsAbsolute(chosenHome)) {
        return std::nullopt;
    }
    return std::filesystem::path(chosenHome) / ".config";
}

std::optional<std::filesystem::path> UserConfigDirectory() {
    const char* home = std::getenv("HOME");
    const std::optional<std::string> databaseHome =
        IsAbsolute(home) ? std::nullopt : DatabaseHome();
    return ChooseConfigDirectory(std::getenv("XDG_CONFIG_HOME"), home,
                                 databaseHome ? databaseHome->c_str() : nullptr);
}

}  // namespace platform
