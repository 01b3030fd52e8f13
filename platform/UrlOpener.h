// Hands a web address to the program that shows it. The window's links call
// this; tests put a recorder in its place.
#pragma once

#include <string>

namespace platform {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Returns a code of platform/OpenResult.h: above 32 when the address was
    // handed over, otherwise why it could not be.
    virtual int OpenUrl(const std::string& url) = 0;
};

// The desktop's opener, with the default browser as its fallback
// (DesktopUrlOpener over the system's process launcher and XDG directories).
UrlOpener& SystemUrlOpener();

}  // namespace platform
