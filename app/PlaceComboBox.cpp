#include "app/PlaceComboBox.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QCompleter>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListView>

#include "app/PlaceSuggestionModel.h"
#include "places/PlaceListModel.h"

namespace {

// Entries visible in the open list: the list part of the layout's 102 units
// less the text field, at one line of text (8 units) each.
constexpr int kVisibleEntries = 11;

// A suggestion names its place's region and offset as well: its popup is
// wider than the box.
constexpr int kSuggestionWidthPercent = 150;

}  // namespace

PlaceComboBox::PlaceComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // Qt's own completion would write into the text field while typing; the
    // suggestions below leave it alone.
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
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& typed) {
        m_typedSinceSelection = true;
        ShowSuggestions(typed);
    });
    connect(this, &QComboBox::activated, this, [this] {
        m_typedSinceSelection = false;
        emit Chosen();
    });
}

void PlaceComboBox::SetPlaces(PlaceListModel& model, const platform::Clock& clock) {
    setModel(&model);
    m_clock = &clock;
    // Suggestions made over a list before are made afresh on the next keystroke.
    delete m_completer;
    m_completer = nullptr;
    m_suggestions = nullptr;
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

void PlaceComboBox::showPopup() {
    HideSuggestions();
    QComboBox::showPopup();
}

void PlaceComboBox::ShowSuggestions(const QString& typed) {
    if (typed.isEmpty()) {
        HideSuggestions();
        return;
    }
    if (m_completer == nullptr && !MakeSuggestions()) {
        return;
    }
    m_suggestions->Suggest(typed);
    m_completer->complete(QRect(0, 0, width() * kSuggestionWidthPercent / 100, height()));
}

// Made when first needed, not with the window.
bool PlaceComboBox::MakeSuggestions() {
    auto* places = qobject_cast<PlaceListModel*>(model());
    if (places == nullptr || m_clock == nullptr) {
        return false;
    }
    // Set on the box with setWidget() rather than setCompleter(), the
    // completer leaves the text field alone until a suggestion is chosen.
    // While open, its popup takes every key and passes it to the box first:
    // Tab moves the focus on, which leaves the list as ever; Return and Enter,
    // which the text field ignores, choose the current suggestion (the first
    // until Up or Down moves) and so never reach the window, which Return
    // would close; Escape closes the popup alone.
    m_completer = new QCompleter(this);
    m_completer->setWidget(this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(kVisibleEntries);
    m_suggestions = new PlaceSuggestionModel(places->List(), *m_clock, m_completer);
    m_completer->setModel(m_suggestions);
    QAbstractItemView* popup = m_completer->popup();
    // Rows of one height, so that showing thousands of suggestions measures one.
    if (auto* list = qobject_cast<QListView*>(popup)) {
        list->setUniformItemSizes(true);
    }
    popup->setAccessibleName(accessibleName() + QStringLiteral(": suggestions"));
    connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            &PlaceComboBox::ChooseSuggestion);
    return true;
}

void PlaceComboBox::HideSuggestions() {
    if (m_completer != nullptr) {
        m_completer->popup()->hide();
    }
}

// Choosing a suggestion is choosing its entry from the list.
void PlaceComboBox::ChooseSuggestion(const QModelIndex& index) {
    const auto* completions = qobject_cast<const QAbstractProxyModel*>(index.model());
    const QModelIndex row = completions != nullptr ? completions->mapToSource(index) : index;
    const int position = m_suggestions->Position(row.row());
    if (position < 0) {
        return;
    }
    Select(position);
    emit Chosen();
}

void PlaceComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason) {
        emit Left();
    }
}
