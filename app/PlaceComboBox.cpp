#include "app/PlaceComboBox.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListView>

#include "places/PlaceListModel.h"

namespace {

// Entries visible in the open list: the list part of the layout's 102 units
// less the text field, at one line of text (8 units) each.
constexpr int kVisibleEntries = 11;

}  // namespace

PlaceComboBox::PlaceComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // Typed text is resolved when the list is left, not completed while typing.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    // Measuring every entry to size the box would read a list of a million
    // places; the layout fixes the size anyway.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMaxVisibleItems(kVisibleEntries);
    // Qt's own list view, told that every row has the same height, so that
    // opening the list measures one row rather than all of them.
    if (auto* list = qobject_cast<QListView*>(view())) {
        list->setUniformItemSizes(true);
    }

    // The combo box would itself look the typed text up in the whole list when
    // the text field is left or Return is pressed, and select an entry that
    // matches it whole: that is the window's decision (a prefix search), and
    // in a list of a million places a slow one.
    QObject::disconnect(lineEdit(), &QLineEdit::editingFinished, nullptr, nullptr);
    QObject::disconnect(lineEdit(), &QLineEdit::returnPressed, nullptr, nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_typedSinceSelection = true; });
    connect(this, &QComboBox::activated, this, [this] {
        m_typedSinceSelection = false;
        emit Chosen();
    });
}

void PlaceComboBox::SetPlaces(PlaceListModel& model) {
    setModel(&model);
    Select(-1);
}

int PlaceComboBox::Selection() const {
    return m_typedSinceSelection ? -1 : currentIndex();
}

void PlaceComboBox::Select(int position) {
    m_typedSinceSelection = false;
    if (position >= 0 && position < count()) {
        setCurrentIndex(position);
        return;
    }
    setCurrentIndex(-1);
    setEditText(QString());
}

void PlaceComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason) {
        emit Left();
    }
}
