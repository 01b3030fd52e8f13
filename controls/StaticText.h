// A static text placed by a dialog layout: plain text, left and top aligned.
// The layouts' widths were made for a narrow dialog font; in a wider one a
// text would be cut off, so its box grows to the right to hold it (the
// layouts leave room there).
#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

#include "controls/DialogUnits.h"

// A new label owned by `parent`, at `layout` (dialog units).
QLabel* AddStaticText(QWidget* parent, const DialogUnits& units, const QString& text,
                      const QRect& layout);
