#include "platform/XdgDirectories.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace platform {
namespace {

std::string_view Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

std::filesystem::path AbsoluteOrEmpty(std::string_view text) {
    std::filesystem::path path(text);
    return path.is_absolute() ? path : std::filesystem::path();
}

std::filesystem::path HomeDirectory(const char* variable, const char* underHome) {
    if (std::filesystem::path set = AbsoluteOrEmpty(Variable(variable)); !set.empty()) {
        return set;
    }
    const std::filesystem::path home = AbsoluteOrEmpty(Variable("HOME"));
    return home.empty() ? home : home / underHome;
}

std::vector<std::filesystem::path> DirectoryList(const char* variable, std::string_view fallback) {
    std::string_view text = Variable(variable);
    if (text.empty()) {
        text = fallback;
    }
    std::vector<std::filesystem::path> directories;
    while (!text.empty()) {
        const std::size_t colon = text.find(':');
        if (std::filesystem::path path = AbsoluteOrEmpty(text.substr(0, colon)); !path.empty()) {
            directories.push_back(std::move(path));
        }
        text = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    }
    return directories;
}

}  // namespace

XdgDirectories XdgDirectories::FromEnvironment() {
    XdgDirectories directories;
    directories.configHome = HomeDirectory("XDG_CONFIG_HOME", ".config");
    directories.configDirs = DirectoryList("XDG_CONFIG_DIRS", "/etc/xdg");
    directories.dataHome = HomeDirectory("XDG_DATA_HOME", ".local/share");
    directories.dataDirs = DirectoryList("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    return directories;
}

std::vector<std::filesystem::path> XdgDirectories::MimeAppsLists() const {
    std::vector<std::filesystem::path> lists;
    if (!configHome.empty()) {
        lists.push_back(configHome / "mimeapps.list");
    }
    for (const std::filesystem::path& directory : configDirs) {
        lists.push_back(directory / "mimeapps.list");
    }
    for (const std::filesystem::path& directory : ApplicationDirectories()) {
        lists.push_back(directory / "mimeapps.list");
    }
    return lists;
}

std::vector<std::filesystem::path> XdgDirectories::ApplicationDirectories() const {
    std::vector<std::filesystem::path> directories;
    if (!dataHome.empty()) {
        directories.push_back(dataHome / "applications");
    }
    for (const std::filesystem::path& directory : dataDirs) {
        directories.push_back(directory / "applications");
    }
    return directories;
}

}  // namespace platform
