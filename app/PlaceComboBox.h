// A place list as the window shows it: an editable drop-down list over a
// PlaceListModel that tells a typed text apart from a chosen entry, and
// reports the user's choice and the loss of the keyboard focus.
#pragma once

#include <QComboBox>

class PlaceListModel;

class PlaceComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit PlaceComboBox(QWidget* parent = nullptr);

    void SetPlaces(PlaceListModel& model);

    // The position of the selected entry; -1 when nothing is selected or the
    // user has typed into the text field since the last selection.
    int Selection() const;

    // Selects `position` and shows its text; a position outside the list
    // leaves no selection and an empty text field.
    void Select(int position);

    QString TypedText() const { return currentText(); }

signals:
    // The user chose an entry: from the open list, with the arrow keys or the
    // mouse wheel.
    void Chosen();
    // The keyboard focus left the list (not for its own open list).
    void Left();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_typedSinceSelection = false;
};
