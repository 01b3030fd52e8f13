// A place list as the window shows it: an editable drop-down list over a
// PlaceListModel that tells a typed text apart from a chosen entry, suggests
// matching places while the user types, and reports the user's choice and the
// loss of the keyboard focus.
#pragma once

#include <QComboBox>

#include "platform/Clock.h"

class PlaceListModel;
class PlaceSuggestionModel;
class QCompleter;

class PlaceComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit PlaceComboBox(QWidget* parent = nullptr);

    // The model and the clock, which gives the suggestions' offsets, must
    // outlive the box.
    void SetPlaces(PlaceListModel& model, const platform::Clock& clock);

    // The position of the selected entry; -1 when nothing is selected or the
    // user has typed into the text field since the last selection.
    int Selection() const;

    // Selects `position` and shows its text; a position outside the list
    // leaves no selection and an empty text field.
    void Select(int position);

    // Opening the whole list closes the suggestions.
    void showPopup() override;

    QString TypedText() const { return currentText(); }

    // The suggestions shown while typing, for tests; null until the first
    // keystroke.
    QCompleter* Suggestions() const { return m_completer; }

signals:
    // The user chose an entry: from the open list or the suggestions, with
    // the arrow keys or the mouse wheel.
    void Chosen();
    // The keyboard focus left the list (not for its own open list).
    void Left();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ShowSuggestions(const QString& typed);
    bool MakeSuggestions();
    void HideSuggestions();
    void ChooseSuggestion(const QModelIndex& index);

    bool m_typedSinceSelection = false;
    const platform::Clock* m_clock = nullptr;
    QCompleter* m_completer = nullptr;              // a child of the box
    PlaceSuggestionModel* m_suggestions = nullptr;  // a child of the completer
};
