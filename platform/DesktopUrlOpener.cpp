#include "platform/DesktopUrlOpener.h"

#include <cerrno>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/KeyFile.h"
#include "platform/OpenResult.h"

namespace platform {
namespace {

// The handler of https addresses is the browser proper; a desktop that names
// none still has one for HTML files.
const char* const kBrowserMimeTypes[] = {"x-scheme-handler/https", "text/html"};

std::string FirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
    return line;
}

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int OpenResultForStartError(int error) {
    switch (error) {
        case ENOENT:
        case EINVAL: return open_result::kFileNotFound;
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG: return open_result::kPathNotFound;
        case EACCES:
        case EPERM: return open_result::kAccessDenied;
        case ENOEXEC: return open_result::kBadFormat;
        default: return open_result::kOutOfResources;
    }
}

int OpenResultForOpener(const LaunchResult& result) {
    switch (result.status) {
        case LaunchStatus::NotStarted: return OpenResultForStartError(result.error);
        case LaunchStatus::Running:
        case LaunchStatus::TimedOut: return open_result::kOpened;
        case LaunchStatus::Signalled: return open_result::kOutOfResources;
        case LaunchStatus::Exited: break;
    }
    switch (result.exitCode) {
        case 0: return open_result::kOpened;
        case 1:  // it could not make sense of the address
        case 2: return open_result::kFileNotFound;
        default: return open_result::kNoAssociation;  // 3: no tool for it, 4: it failed
    }
}

std::optional<std::filesystem::path> FindDesktopEntry(const XdgDirectories& directories,
                                                      const std::string& desktopId) {
    if (!EndsWith(desktopId, ".desktop") || desktopId.find('/') != std::string::npos ||
        desktopId.find("..") != std::string::npos) {
        return std::nullopt;
    }
    // An entry in a subdirectory has the directory and a '-' in its ID
    // ("vendor-browser.desktop" may be vendor/browser.desktop), so each '-'
    // from the left is tried as a separator as well; never a leading one,
    // which would make the path absolute and leave the directories.
    std::vector<std::string> candidates{desktopId};
    std::string nested = desktopId;
    for (std::size_t dash = nested.find('-', 1); dash != std::string::npos;
         dash = nested.find('-', dash + 1)) {
        nested[dash] = '/';
        candidates.push_back(nested);
    }
    for (const std::filesystem::path& directory : directories.ApplicationDirectories()) {
        for (const std::string& candidate : candidates) {
            const std::filesystem::path file = directory / candidate;
            std::error_code error;
            if (std::filesystem::is_regular_file(file, error)) {
                return file;
            }
        }
    }
    return std::nullopt;
}

DesktopUrlOpener::DesktopUrlOpener(ProcessLauncher& launcher, DesktopOpenerSettings settings)
    : m_launcher(launcher), m_settings(std::move(settings)) {}

int DesktopUrlOpener::OpenUrl(const std::string& url) {
    const int openerCode = RunDesktopOpener(url);
    if (OpenSucceeded(openerCode)) {
        return openerCode;
    }
    return RunDefaultBrowser(url, openerCode);
}

int DesktopUrlOpener::RunDesktopOpener(const std::string& url) {
    LaunchRequest request;
    request.arguments = {m_settings.openerProgram, url};
    request.waitForExit = m_settings.openerWait;
    return OpenResultForOpener(m_launcher.Run(request));
}

int DesktopUrlOpener::RunDefaultBrowser(const std::string& url, int openerCode) {
    // A browser reads an argument that begins with '-' as one of its own
    // options, some of which run programs; such an address is never passed.
    if (!url.empty() && url.front() == '-') {
        return openerCode;
    }
    const std::optional<BrowserEntry> browser = FindDefaultBrowser();
    if (!browser) {
        return openerCode;
    }
    const BrowserCommand command = ComposeBrowserCommand(browser->exec, url, browser->fields);
    switch (command.problem) {
        case CommandProblem::TooLong: return open_result::kOutOfMemory;
        case CommandProblem::Malformed: return openerCode;
        case CommandProblem::None: break;
    }
    LaunchRequest request;
    request.arguments = command.arguments;
    const LaunchResult result = m_launcher.Run(request);
    return result.status == LaunchStatus::NotStarted ? OpenResultForStartError(result.error)
                                                     : open_result::kOpened;
}

std::optional<BrowserEntry> DesktopUrlOpener::FindDefaultBrowser() {
    for (const char* mimeType : kBrowserMimeTypes) {
        if (const std::optional<std::string> id = QueryDefaultApplication(mimeType)) {
            if (std::optional<BrowserEntry> entry = ReadBrowserEntry(*id)) {
                return entry;
            }
        }
    }
    // Without xdg-mime the desktop's own lists still say which it is.
    for (const char* mimeType : kBrowserMimeTypes) {
        for (const std::filesystem::path& list : m_settings.directories.MimeAppsLists()) {
            const std::optional<KeyFileGroup> defaults =
                ReadKeyFileGroup(list, "Default Applications");
            if (!defaults) {
                continue;
            }
            const auto found = defaults->find(mimeType);
            if (found == defaults->end()) {
                continue;
            }
            for (const std::string& id : SplitListValue(found->second)) {
                if (std::optional<BrowserEntry> entry = ReadBrowserEntry(id)) {
                    return entry;
                }
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> DesktopUrlOpener::QueryDefaultApplication(const std::string& mimeType) {
    LaunchRequest request;
    request.arguments = {m_settings.mimeQueryProgram, "query", "default", mimeType};
    request.waitForExit = m_settings.queryWait;
    request.captureOutput = true;
    const LaunchResult result = m_launcher.Run(request);
    if (result.status != LaunchStatus::Exited || result.exitCode != 0) {
        return std::nullopt;
    }
    std::string id = FirstLine(result.output);
    return id.empty() ? std::nullopt : std::optional<std::string>(std::move(id));
}

std::optional<BrowserEntry> DesktopUrlOpener::ReadBrowserEntry(const std::string& desktopId) const {
    const std::optional<std::filesystem::path> file =
        FindDesktopEntry(m_settings.directories, desktopId);
    if (!file) {
        return std::nullopt;
    }
    const std::optional<KeyFileGroup> keys = ReadKeyFileGroup(*file, "Desktop Entry");
    if (!keys) {
        return std::nullopt;
    }
    const auto exec = keys->find("Exec");
    if (exec == keys->end() || exec->second.empty()) {
        return std::nullopt;
    }
    BrowserEntry entry;
    entry.exec = exec->second;
    entry.fields.location = file->string();
    if (const auto name = keys->find("Name"); name != keys->end()) {
        entry.fields.name = name->second;
    }
    if (const auto icon = keys->find("Icon"); icon != keys->end()) {
        entry.fields.icon = icon->second;
    }
    return entry;
}

UrlOpener& SystemUrlOpener() {
    static DesktopUrlOpener opener(SystemProcessLauncher(), [] {
        DesktopOpenerSettings settings;
        settings.directories = XdgDirectories::FromEnvironment();
        return settings;
    }());
    return opener;
}

}  // namespace platform
