// The desktop's services that open web links in the running program: Qt's
// desktop opener and GIO's default browser.
#pragma once

#include "platform/UrlOpener.h"

platform::UrlOpener& SystemUrlOpener();
