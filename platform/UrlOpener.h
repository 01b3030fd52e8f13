// How a web link reaches a browser: the desktop's own opener first and, when
// that refuses, the desktop's default browser started directly. The two are
// the desktop's services; tests put a recorder in their place.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/OpenResult.h"

namespace platform {

// What starting the default browser came to. A failure carries the GLib
// error that says why.
struct BrowserLaunch {
    enum class Outcome { Started, NoBrowser, Failed };
    Outcome outcome = Outcome::Started;
    std::uint32_t errorDomain = 0;  // a GQuark
    int errorCode = 0;
};

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // The desktop's opener (xdg-open, $BROWSER, or the portal in a sandbox).
    // Calls `done` with whether it took the address, at once or, when the
    // opener tells only once it has ended, from the event loop later.
    virtual void OpenWithDesktop(const std::string& url, std::function<void(bool taken)> done) = 0;
    // The default application for https addresses, else for HTML, started
    // with the address.
    virtual BrowserLaunch StartDefaultBrowser(const std::string& url) = 0;
};

// Calls `done` with why the address could not be opened, or with nothing once
// it has been handed over; `desktop` must last until then. Neither way waits
// for the browser. When the desktop refuses, its failure is "file not found";
// a browser that cannot be started replaces that with the cause of its own
// failure, and no default browser leaves it standing.
void OpenWebLink(UrlOpener& desktop, const std::string& url,
                 std::function<void(const std::optional<OpenResult>& failure)> done);

}  // namespace platform
