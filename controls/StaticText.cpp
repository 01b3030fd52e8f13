#include "controls/StaticText.h"

#include <algorithm>

QLabel* AddStaticText(QWidget* parent, const DialogUnits& units, const QString& text,
                      const QRect& layout) {
    auto* label = new QLabel(text, parent);  // owned by the dialog
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QRect box = units.ToPixels(layout.x(), layout.y(), layout.width(), layout.height());
    box.setWidth(std::max(box.width(), label->fontMetrics().horizontalAdvance(text)));
    label->setGeometry(box);
    return label;
}
