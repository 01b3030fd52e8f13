#include "catalogue/TimeZone.h"

#include "catalogue/FieldReader.h"
#include "platform/GccRestrictFalsePositive.h"

CTimeZone::CTimeZone(std::string_view zoneLine) {
    FieldCursor cursor{zoneLine};
    NextField(cursor, m_strName);
    NextField(cursor, m_strLabel);
    NextField(cursor, m_strRemark);
    ReadRule(cursor, m_standard);
    ReadRule(cursor, m_daylight);
}

std::unique_ptr<CTimeZone> MakePlaceholderZone(std::string_view zoneName) {
    auto zone = std::make_unique<CTimeZone>();
    zone->m_strName.assign(zoneName);
    // g++ 12 at -O3 takes this string copy for an overlapping one.
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN
    zone->m_strLabel = "!";
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END
    zone->m_strLabel.append(zoneName);
    return zone;
}
