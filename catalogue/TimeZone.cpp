#include "catalogue/TimeZone.h"

#include "catalogue/FieldReader.h"

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
    zone->m_strLabel = "!";
    zone->m_strLabel.append(zoneName);
    return zone;
}
