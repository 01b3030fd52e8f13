// Text as place matching compares it: accents dropped and letter case folded,
// so that "São Paulo" and "sao paulo" agree.
#pragma once

#include <QString>
#include <QStringView>

// Appends `text`, folded, to `folded`.
void AppendFolded(QStringView text, QString& folded);

QString Folded(QStringView text);
