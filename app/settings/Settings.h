// The two places chosen last, remembered from one run to the next as their
// positions in the two sorted place lists, in the user's settings file
// Quandelle/Olvanta.conf under the configuration directory ($XDG_CONFIG_HOME,
// else ~/.config), kept by QSettings in INI form.
#pragma once

#include <cstdint>

#include "platform/MessageSink.h"

// Zero-based positions of the chosen entries in the base and in the remote
// list; 0 at program start. A stored position is taken as it is, even when it
// is negative or beyond the end of its list: the window then selects nothing.
extern std::int32_t g_baseLocation;
extern std::int32_t g_remoteLocation;

// Reads the remembered positions. Called once while the window is being
// initialised, after the lists are filled and before the positions are
// selected in them. A position that the file lacks, or holds as anything but
// a whole number that fits 32 bits, is written there from the current value.
void LoadSettings(platform::MessageSink& messages);

// Writes both remembered positions. Called once while the window is being
// destroyed.
void SaveSettings(platform::MessageSink& messages);
