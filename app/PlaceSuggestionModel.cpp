#include "app/PlaceSuggestionModel.h"

#include <QStringList>

#include "platform/FrameworkError.h"
#include "timecalc/SuggestionTexts.h"
#include "timecalc/WallClock.h"

namespace {

constexpr QStringView kSeparator = u" \u2014 ";

// Typing is not one of the window's events: a clock outside the calendar,
// which those report, leaves only the offsets out here.
std::optional<SYSTEMTIME> UniversalNow(const platform::Clock& clock) {
    try {
        return CurrentUniversalTime(clock);
    } catch (const platform::FrameworkError&) {
        return std::nullopt;
    }
}

}  // namespace

PlaceSuggestionModel::PlaceSuggestionModel(const PlaceList& list, const platform::Clock& clock,
                                           QObject* parent)
    : QAbstractListModel(parent), m_list(list), m_clock(clock) {}

void PlaceSuggestionModel::Suggest(QStringView typed) {
    beginResetModel();
    m_positions = m_list.FindSuggestions(typed);
    m_nothingMatches = m_positions.empty() && !typed.trimmed().isEmpty();
    m_universalNow = UniversalNow(m_clock);
    endResetModel();
}

int PlaceSuggestionModel::Position(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < m_positions.size()
               ? m_positions[static_cast<std::size_t>(row)]
               : -1;
}

int PlaceSuggestionModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return m_nothingMatches ? 1 : static_cast<int>(m_positions.size());
}

QVariant PlaceSuggestionModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const int position = Position(index.row());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
            return position >= 0 ? RowText(position) : QString::fromUtf8(kNothingMatches);
        case Qt::EditRole: return position >= 0 ? m_list.Text(position) : QString();
        default: return {};
    }
}

Qt::ItemFlags PlaceSuggestionModel::flags(const QModelIndex& index) const {
    return Position(index.row()) >= 0 ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QString PlaceSuggestionModel::RowText(int position) const {
    QStringList parts{m_list.Text(position)};
    const CTimeZone* zone = m_list.Zone(position);
    if (zone != nullptr) {
        if (const std::string region = ZoneRegion(*zone); !region.empty()) {
            parts << QString::fromStdString(region);
        }
    }
    if (m_universalNow) {
        parts << QString::fromStdString(OffsetNowText(zone, *m_universalNow));
    }
    return parts.join(kSeparator);
}
