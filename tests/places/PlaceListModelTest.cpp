#include "places/PlaceListModel.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

TEST(PlaceListModelTest, ShowsTheListsTextsRowByRow) {
    Catalogue zones;
    CTimeZone* zone = zones.Insert(std::make_unique<CTimeZone>("Zone"));
    zone->m_places.Add("Bern");
    zone->m_places.Add("Accra");
    QCollator collator{QLocale(QLocale::English)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const PlaceList list = PlaceList::FromCatalogue(zones, collator);
    const PlaceListModel model(list);

    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), "Accra");
    EXPECT_EQ(model.data(model.index(1), Qt::EditRole).toString(), "Bern");
    EXPECT_EQ(model.data(model.index(2), Qt::DisplayRole).toString(), "UTC");
    EXPECT_FALSE(model.data(model.index(0), Qt::DecorationRole).isValid());
    EXPECT_FALSE(model.data(model.index(3), Qt::DisplayRole).isValid());
    EXPECT_EQ(model.rowCount(model.index(0)), 0);  // a list, not a tree
}

}  // namespace
