// The suggestions a place list shows while a place is typed: the matching
// entries, best first, each with what tells it apart from places of the same
// name and its offset from GMT now; one disabled row when nothing matches.
#pragma once

#include <QAbstractListModel>
#include <optional>
#include <vector>

#include "places/PlaceList.h"
#include "platform/Clock.h"
#include "timecalc/SystemTime.h"

class PlaceSuggestionModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr const char* kNothingMatches = "No place matches";

    // The list and the clock must outlive the model.
    PlaceSuggestionModel(const PlaceList& list, const platform::Clock& clock,
                         QObject* parent = nullptr);

    // Replaces the rows with the suggestions for `typed`.
    void Suggest(QStringView typed);

    // The list position that `row` suggests; -1 for the row saying that
    // nothing matches.
    int Position(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QString RowText(int position) const;

    const PlaceList& m_list;
    const platform::Clock& m_clock;
    std::vector<int> m_positions;
    bool m_nothingMatches = false;
    // When the suggestions were made; none when the clock lies outside the
    // calendar, and the offsets are then left out.
    std::optional<SYSTEMTIME> m_universalNow;
};
