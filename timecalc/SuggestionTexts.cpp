#include "timecalc/SuggestionTexts.h"

#include <string_view>

#include "timecalc/ResultTexts.h"
#include "timecalc/TimeCarry.h"

std::string ZoneRegion(const CTimeZone& zone) {
    // The offsets would say again, for one season, what the suggestion
    // shows for now.
    const std::string_view label = zone.m_strLabel;
    if (label.rfind("UTC+", 0) != 0 && label.rfind("UTC-", 0) != 0) {
        return zone.m_strLabel;
    }
    const std::size_t blank = label.find(' ');
    return blank == std::string_view::npos ? std::string() : std::string(label.substr(blank + 1));
}

std::string OffsetNowText(const CTimeZone* zone, const SYSTEMTIME& utc) {
    const int minutes = zone != nullptr ? CurrentOffset(*zone, utc) : 0;
    return (minutes >= 0 ? "GMT+" : "GMT") + FormatMinutes(minutes);
}
