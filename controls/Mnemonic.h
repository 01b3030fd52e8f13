// Keyboard mnemonics for label texts that a program rewrites: the marker Qt
// reads goes in front of the first letter, and the text reads the same.
#pragma once

#include <QString>

// `text` with "&" before its first letter or digit (Alt with that character
// then reaches the label's buddy); an "&" of the text itself is doubled so
// that it still shows. A text without a letter or digit gets no mnemonic.
QString WithMnemonic(const QString& text);

// What a label shows for `marked`: each marker dropped, "&&" shown as "&".
QString ShownText(const QString& marked);
