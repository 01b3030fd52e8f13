#include "tools/tzsource/ZoneHistory.h"

#include <system_error>

namespace tzsource {
namespace {

absl::Time ToAbsl(std::chrono::sys_seconds instant) {
    return absl::FromUnixSeconds(instant.time_since_epoch().count());
}

std::chrono::sys_seconds FromAbsl(absl::Time instant) {
    return std::chrono::sys_seconds(std::chrono::seconds(absl::ToUnixSeconds(instant)));
}

}  // namespace

std::optional<ZoneHistory> ZoneHistory::Load(const std::filesystem::path& file) {
    // A FIFO or a device would block or never end; abseil opens whatever it
    // is given. A relative name would be looked up under TZDIR instead.
    std::error_code error;
    if (!file.is_absolute() || !std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    absl::TimeZone zone;
    if (!absl::LoadTimeZone(file.string(), &zone)) {
        return std::nullopt;
    }
    return ZoneHistory(zone);
}

std::chrono::seconds ZoneHistory::OffsetAt(std::chrono::sys_seconds instant) const {
    return std::chrono::seconds(m_zone.At(ToAbsl(instant)).offset);
}

std::vector<OffsetChange> ZoneHistory::Changes(std::chrono::sys_seconds from,
                                               std::chrono::sys_seconds to) const {
    std::vector<OffsetChange> changes;
    // NextTransition finds the changes strictly after its argument.
    absl::Time cursor = ToAbsl(from) - absl::Seconds(1);
    absl::TimeZone::CivilTransition transition;
    while (m_zone.NextTransition(cursor, &transition)) {
        // The moment the new clock starts: unique for a jump forward, the
        // first of the repeated ones for a jump back.
        cursor = m_zone.At(transition.to).trans;
        const std::chrono::sys_seconds instant = FromAbsl(cursor);
        if (instant >= to) {
            break;
        }
        const std::chrono::seconds after = OffsetAt(instant);
        const std::chrono::seconds jump(transition.to - transition.from);
        if (jump != std::chrono::seconds(0)) {
            changes.push_back({instant, after - jump, after});
        }
    }
    return changes;
}

}  // namespace tzsource
