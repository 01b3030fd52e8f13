// A place list as an item model, so a combo box can show a list of any size
// without copying its entries.
#pragma once

#include <QAbstractListModel>

#include "places/PlaceList.h"

class PlaceListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The list must outlive the model.
    explicit PlaceListModel(const PlaceList& list, QObject* parent = nullptr)
        : QAbstractListModel(parent), m_list(list) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_list.Count();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !m_list.Contains(index.row()) ||
            (role != Qt::DisplayRole && role != Qt::EditRole)) {
            return {};
        }
        return m_list.Text(index.row());
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    const PlaceList& List() const { return m_list; }

private:
    const PlaceList& m_list;
};
