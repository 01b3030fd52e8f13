// The two places chosen last, remembered from one run to the next as their
// positions in the two sorted place lists, in the user's settings file
// Quandelle/Olvanta.conf under the configuration directory ($XDG_CONFIG_HOME,
// else ~/.config), kept by QSettings in INI form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Zero-based positions of the chosen entries in the base and in the remote
// list; 0 at program start. A stored position is taken as it is, even when it
// is negative or beyond the end of its list: the window then selects nothing.
extern std::int32_t g_baseLocation;
extern std::int32_t g_remoteLocation;

// What reading or writing the remembered positions came to; the window shows
// the message of a failure.
enum class SettingsOutcome {
    Done,
    StoreDamaged,    // the file or its directory cannot be used, or cannot be created
    PlacesNotSaved,  // our file is there but took no write
};

// Reads the remembered positions. Called once while the window is being
// initialised, after the lists are filled and before the positions are
// selected in them. A position that the file lacks, or holds as anything but
// a whole number that fits 32 bits, is written there from the current value.
SettingsOutcome LoadSettings();

// Writes both remembered positions. Called once while the window is being
// destroyed.
SettingsOutcome SaveSettings();

// The message the user sees for `outcome`; nothing for Done.
std::optional<std::string> SettingsMessage(SettingsOutcome outcome);
