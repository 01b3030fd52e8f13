// Turns a zone of the IANA database into the two yearly rules of a zone line:
// the footer's POSIX rule where it holds for the target year, rewritten into
// what the rule fields can express, or else that year's own changes.
#pragma once

#include <string>
#include <vector>

#include "catalogue/TransitionRule.h"
#include "tools/tzsource/PosixTz.h"
#include "tools/tzsource/TzifFile.h"

namespace tzgen {

struct EncodedZone {
    // bias: standard offset in minutes east; date: daylight-saving time ends
    // (local time on the daylight clock).
    TransitionRule standard;
    // bias: minutes added while daylight-saving time is in force, 0 for none;
    // date: daylight-saving time begins (local time on the standard clock).
    TransitionRule daylight;
    // Where the rules came from: "TZ <rule>" or "<year> transitions".
    std::string source;
    // Every way in which the rules depart from the database, in words.
    std::vector<std::string> notes;
};

// The rule fields for one POSIX transition in `year`: the weekday rule moved
// by whole days where its time lies outside 0:00..23:59 and the move stays
// exact for every year; an end of day kept as hour 24; otherwise the date of
// `year` alone (noted).
TransitionRule EncodeTransition(const tzsource::PosixTransition& transition, int year,
                                std::vector<std::string>& notes);

// Both rules from a POSIX rule. A negative daylight saving swaps the roles of
// the two offsets so that the saving added is positive.
EncodedZone EncodeRule(const tzsource::PosixTz& tz, int year);

// Both rules from the changes that `history` makes in `year`, as fixed dates,
// for a year in which the table and the footer disagree.
EncodedZone EncodeYearChanges(const tzsource::ZoneHistory& history, int year);

// The zone as the rule fields can carry it for `year`: the footer where it
// gives the same changes as the table over the year, the year's own changes
// otherwise.
EncodedZone EncodeZone(const tzsource::ZoneHistory& history, int year);

}  // namespace tzgen
