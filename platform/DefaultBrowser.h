// The desktop's default web browser as GIO finds it (mimeapps.list and the
// desktop entries), started with one address.
#pragma once

#include <string>

#include "platform/UrlOpener.h"

namespace platform {

// The handler of https addresses, else the first application for HTML that
// takes addresses. Returns once the browser is started; it is never waited for.
BrowserLaunch StartDefaultBrowser(const std::string& url);

}  // namespace platform
