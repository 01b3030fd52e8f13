// What the main window takes from its surroundings: where the data files are,
// the clock, where messages go and how links open. The program passes the real
// ones; tests pass temporary and recording ones. The remembered places follow
// $XDG_CONFIG_HOME, which tests point at a temporary directory.
#pragma once

#include <filesystem>

#include "platform/Clock.h"
#include "platform/MessageSink.h"
#include "platform/UrlOpener.h"

struct DialogEnvironment {
    std::filesystem::path dataDirectory;
    const platform::Clock& clock;
    platform::MessageSink& messages;
    platform::UrlOpener* urlOpener = nullptr;  // null: the desktop's opener
};
