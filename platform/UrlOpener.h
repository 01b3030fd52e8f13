// How a web link reaches a browser: the desktop's own opener first and, when
// that refuses, the desktop's default browser started directly. The two are
// the desktop's services; tests put a recorder in their place.
#pragma once

#include <cstdint>
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
    // True when it took the address.
    virtual bool OpenWithDesktop(const std::string& url) = 0;
    // The default application for https addresses, else for HTML, started
    // with the address.
    virtual BrowserLaunch StartDefaultBrowser(const std::string& url) = 0;
};

// Neither way waits for the browser. When the desktop refuses, its failure
// is "file not found"; a browser that cannot be started replaces that with
// the cause of its own failure, and no default browser leaves it standing.
OpenResult OpenWebLink(UrlOpener& desktop, const std::string& url);

}  // namespace platform
