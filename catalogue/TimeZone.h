// One time zone of the catalogue: its names, its places and its two rules.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "catalogue/StringArrayPlus.h"
#include "catalogue/TransitionRule.h"

class CTimeZone {
public:
    // An empty record: no names, no places, offset 0, no daylight-saving time.
    CTimeZone() = default;

    // A record from one line of the zone file: name, label, remark, then the
    // standard rule and the daylight rule of seven numbers each. Missing text
    // fields are empty and missing numbers 0; anything after them is ignored.
    explicit CTimeZone(std::string_view zoneLine);

    CTimeZone(const CTimeZone&) = delete;
    CTimeZone& operator=(const CTimeZone&) = delete;

    std::string m_strName;
    std::string m_strLabel;
    std::string m_strRemark;
    CStringArrayPlus m_places;
    TransitionRule m_standard;  // bias: standard offset; date: daylight-saving time ends
    TransitionRule m_daylight;  // bias: extra offset, 0 for none; date: daylight-saving time begins
};

// The record that stands for a zone the locations file names but the zone file
// lacks: GMT without daylight-saving time, labelled "!" and the name.
std::unique_ptr<CTimeZone> MakePlaceholderZone(std::string_view zoneName);
