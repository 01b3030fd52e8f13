// Opening a web address on a Linux desktop: first the desktop's own opener
// (xdg-open); when that is missing or fails, the default web browser's
// desktop entry, its Exec line run directly with the address as one argument.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/BrowserCommand.h"
#include "platform/ProcessLauncher.h"
#include "platform/UrlOpener.h"
#include "platform/XdgDirectories.h"

namespace platform {

struct DesktopOpenerSettings {
    std::string openerProgram = "xdg-open";
    std::string mimeQueryProgram = "xdg-mime";
    // The opener usually answers in well under a second. One still running
    // after this long has started the browser itself and waits for it (what
    // it does on desktops it does not know), so it counts as a success; the
    // window is not held up for longer than this.
    std::chrono::milliseconds openerWait{2000};
    // A default-application query that has not answered by then is killed.
    // With two queries a click holds the window for at most 4 s in all.
    std::chrono::milliseconds queryWait{1000};
    XdgDirectories directories;
};

// The default browser's desktop entry: what its Exec line needs.
struct BrowserEntry {
    std::string exec;
    EntryFields fields;
};

class DesktopUrlOpener final : public UrlOpener {
public:
    DesktopUrlOpener(ProcessLauncher& launcher, DesktopOpenerSettings settings);

    int OpenUrl(const std::string& url) override;

    // The default browser's entry: the handler of https addresses, else of
    // HTML files, as xdg-mime names it, else as the mimeapps.list files name
    // it; the entry file is looked up in the XDG data directories. Nothing
    // when none is found or it has no Exec line.
    std::optional<BrowserEntry> FindDefaultBrowser();

private:
    int RunDesktopOpener(const std::string& url);
    int RunDefaultBrowser(const std::string& url, int openerCode);
    std::optional<std::string> QueryDefaultApplication(const std::string& mimeType);
    std::optional<BrowserEntry> ReadBrowserEntry(const std::string& desktopId) const;

    ProcessLauncher& m_launcher;
    DesktopOpenerSettings m_settings;
};

// The result code for a program that the system refused to start.
int OpenResultForStartError(int error);

// The result code for the desktop opener's outcome.
int OpenResultForOpener(const LaunchResult& result);

// Where the entry with this desktop file ID lies in the application
// directories, if anywhere. IDs that could leave those directories (a '/' or
// a name that does not end in ".desktop") are refused.
std::optional<std::filesystem::path> FindDesktopEntry(const XdgDirectories& directories,
                                                      const std::string& desktopId);

}  // namespace platform
