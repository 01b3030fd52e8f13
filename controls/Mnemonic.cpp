#include "controls/Mnemonic.h"

namespace {

constexpr QChar kMarker = u'&';

}  // namespace

QString WithMnemonic(const QString& text) {
    QString marked;
    marked.reserve(text.size() + 8);
    bool placed = false;
    for (const QChar character : text) {
        if (character == kMarker) {
            marked += kMarker;
        } else if (!placed && character.isLetterOrNumber()) {
            marked += kMarker;
            placed = true;
        }
        marked += character;
    }
    return marked;
}

QString ShownText(const QString& marked) {
    QString shown;
    shown.reserve(marked.size());
    for (qsizetype i = 0; i < marked.size(); ++i) {
        // A marker shows the character after it ("&&" shows "&"); Qt drops
        // a marker that ends the text.
        if (marked[i] == kMarker && ++i == marked.size()) {
            break;
        }
        shown += marked[i];
    }
    return shown;
}
