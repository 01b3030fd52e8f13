#include "controls/TimeEntry.h"

#include <QKeyEvent>

namespace {

bool IsPlain(const QKeyEvent& key) {
    return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

TimeEntry::TimeEntry(QWidget* parent) : QTimeEdit(parent) {
    setWrapping(true);
}

bool TimeEntry::event(QEvent* event) {
    // Qt's time edit takes Tab to its next field and leaves only from the
    // last one; it must not see Tab at all. (Typing a separator still moves
    // to the next field, as in Qt.)
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
        if (tab && !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const bool forward = key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier);
            QWidget::focusNextPrevChild(forward);
            return true;
        }
    }
    return QTimeEdit::event(event);
}

void TimeEntry::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) && IsPlain(*event)) {
        const int next = currentSectionIndex() + (event->key() == Qt::Key_Right ? 1 : -1);
        if (next >= 0 && next < sectionCount()) {
            setCurrentSectionIndex(next);
        }
        setSelectedSection(currentSection());
        event->accept();
        return;
    }
    QTimeEdit::keyPressEvent(event);
}
