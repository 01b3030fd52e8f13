// A temporary XDG home in which a given shell script is the desktop's default
// web browser, so GIO's real lookup and launch can be exercised.
#pragma once

#include <filesystem>
#include <string>

#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

// Writes `script` as an executable program under `home`, registers it as the
// handler of https addresses and points the XDG variables (restored by
// `environment`) at `home` alone. Returns the program's path.
inline std::filesystem::path InstallDefaultBrowser(const TempDir& home,
                                                   ScopedEnvironment& environment,
                                                   const std::string& script) {
    const std::filesystem::path program = home.Write("bin/browser", script);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    home.Write("data/applications/browser.desktop",
               "[Desktop Entry]\nType=Application\nName=Browser\nExec=" + program.string() +
                   " %u\nMimeType=x-scheme-handler/https;text/html;\n");
    home.Write("config/mimeapps.list",
               "[Default Applications]\nx-scheme-handler/https=browser.desktop\n");
    environment.Set("XDG_DATA_HOME", (home.Path() / "data").string());
    environment.Set("XDG_DATA_DIRS", (home.Path() / "none").string());
    environment.Set("XDG_CONFIG_HOME", (home.Path() / "config").string());
    environment.Set("XDG_CONFIG_DIRS", (home.Path() / "none").string());
    environment.Unset("XDG_CURRENT_DESKTOP");
    return program;
}
