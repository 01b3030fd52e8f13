// The program's fixed interface texts: one ordered table of blank-padded,
// fixed-width fields in static data, read back without their padding.
#pragma once

#include <cstddef>
#include <span>
#include <string>

enum class UiString {
    TimezonesDataError,     // width 135
    LocationsDataError,     // width 135
    TimeDifference,         // width 33
    BaseLocationGmtPlus,    // width 33, standard offset >= 0
    BaseLocationGmt,        // width 33, standard offset < 0
    RemoteLocationGmtPlus,  // width 33
    RemoteLocationGmt,      // width 33
};

inline constexpr std::size_t kUiStringBufferSize = 2048;

// Copies the entry's text without its trailing blanks into a buffer that the
// caller has cleared: at most 2047 characters, so the buffer stays terminated.
// Returns the number of characters copied.
std::size_t CopyUiString(UiString id, std::span<char, kUiStringBufferSize> buffer);

// The entry's text, trimmed, as a string.
std::string UiText(UiString id);

// The stored field width of an entry, terminator included.
std::size_t UiStringWidth(UiString id);
