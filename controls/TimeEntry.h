// A time entry that behaves as the desktop's time pickers do: Tab goes on to
// the next control rather than to the next field, Left and Right go from
// field to field, and the arrows wrap round (23 to 00, 59 to 00).
#pragma once

#include <QTimeEdit>

class TimeEntry : public QTimeEdit {
    Q_OBJECT

public:
    explicit TimeEntry(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
