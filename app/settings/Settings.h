// The two places chosen last, remembered from one run to the next as their
// positions in the two sorted place lists, in the per-user settings store.
#pragma once

#include <cstdint>

#include "platform/KeyStore.h"
#include "platform/MessageSink.h"

// Zero-based positions of the chosen entries in the base and in the remote
// list; 0 at program start. A stored position is taken as it is, even when it
// is negative or beyond the end of its list: the window then selects nothing.
extern std::int32_t g_baseLocation;
extern std::int32_t g_remoteLocation;

// Reads the remembered positions. Called once while the window is being
// initialised, after the lists are filled and before the positions are
// selected in them. A position that the store lacks, or holds as anything but
// a 32-bit number, is written there from the current value instead.
void LoadSettings(platform::KeyStore& store, platform::MessageSink& messages);

// Writes both remembered positions. Called once while the window is being
// destroyed.
void SaveSettings(platform::KeyStore& store, platform::MessageSink& messages);
