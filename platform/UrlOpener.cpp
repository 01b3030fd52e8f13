#include "platform/UrlOpener.h"

#include <gio/gio.h>

namespace platform {
namespace {

namespace result = open_result;

OpenResult ResultOfSpawnError(int code) {
    switch (code) {
        case G_SPAWN_ERROR_NOENT: return {result::kFileNotFound};
        case G_SPAWN_ERROR_ACCES:
        case G_SPAWN_ERROR_PERM: return {result::kAccessDenied};
        // GLib reports a fork that failed for lack of memory as FORK.
        case G_SPAWN_ERROR_FORK:
        case G_SPAWN_ERROR_NOMEM: return {result::kOutOfMemory};
        case G_SPAWN_ERROR_NOEXEC: return {result::kBadFormat};
        default: return {code, true};
    }
}

OpenResult ResultOfIoError(int code) {
    switch (code) {
        case G_IO_ERROR_NOT_FOUND: return {result::kFileNotFound};
        case G_IO_ERROR_PERMISSION_DENIED: return {result::kAccessDenied};
        default: return {code, true};
    }
}

OpenResult ResultOfLaunchError(const BrowserLaunch& launch) {
    if (launch.errorDomain == G_SPAWN_ERROR) {
        return ResultOfSpawnError(launch.errorCode);
    }
    // GIO's own error domain by its registered name: G_IO_ERROR would call
    // into GIO, which the window loads only to start a browser.
    if (launch.errorDomain == g_quark_try_string("g-io-error-quark")) {
        return ResultOfIoError(launch.errorCode);
    }
    return {launch.errorCode, true};
}

// What the default browser makes of an address the desktop refused: nothing
// when it was started.
std::optional<OpenResult> OpenWithDefaultBrowser(UrlOpener& desktop, const std::string& url) {
    const OpenResult desktopResult{result::kFileNotFound};
    const BrowserLaunch launch = desktop.StartDefaultBrowser(url);
    switch (launch.outcome) {
        case BrowserLaunch::Outcome::Started: return std::nullopt;
        case BrowserLaunch::Outcome::NoBrowser: return desktopResult;
        case BrowserLaunch::Outcome::Failed: break;
    }
    return ResultOfLaunchError(launch);
}

}  // namespace

void OpenWebLink(UrlOpener& desktop, const std::string& url,
                 std::function<void(const std::optional<OpenResult>& failure)> done) {
    desktop.OpenWithDesktop(url, [&desktop, url, done = std::move(done)](bool taken) {
        done(taken ? std::nullopt : OpenWithDefaultBrowser(desktop, url));
    });
}

}  // namespace platform
