// The per-user and system-wide directories where the desktop keeps its
// settings and its application entries, as the XDG base directory rules
// name them.
#pragma once

#include <filesystem>
#include <vector>

namespace platform {

struct XdgDirectories {
    std::filesystem::path configHome;               // most important first
    std::vector<std::filesystem::path> configDirs;  // in order of importance
    std::filesystem::path dataHome;
    std::vector<std::filesystem::path> dataDirs;

    // Reads XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME, XDG_DATA_DIRS and
    // HOME. An unset or empty variable takes its default; relative paths are
    // ignored, as the rules demand. Without HOME the per-user directories
    // stay empty and are skipped.
    static XdgDirectories FromEnvironment();

    // Every mimeapps.list that may name a default application, most
    // important first.
    std::vector<std::filesystem::path> MimeAppsLists() const;
    // Every directory that may hold desktop entries, most important first.
    std::vector<std::filesystem::path> ApplicationDirectories() const;
};

}  // namespace platform
