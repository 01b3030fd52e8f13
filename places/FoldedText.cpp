#include "places/FoldedText.h"

#include <algorithm>

namespace {

// Letters that keep their mark through decomposition, and the typographic
// apostrophes, as someone types them on a plain keyboard.
QStringView PlainForm(QChar folded) {
    switch (folded.unicode()) {
        case u'ß': return u"ss";
        case u'æ': return u"ae";
        case u'œ': return u"oe";
        case u'þ': return u"th";
        case u'ð':
        case u'đ': return u"d";
        case u'ħ': return u"h";
        case u'ı': return u"i";
        case u'ł': return u"l";
        case u'ø': return u"o";
        case u'ŧ': return u"t";
        case u'‘':
        case u'’':
        case u'ʼ': return u"'";
        default: return {};
    }
}

bool IsAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

}  // namespace

void AppendFolded(QStringView text, QString& folded) {
    if (IsAscii(text)) {
        // Nearly every place name: nothing to decompose, and written in place,
        // since a list may hold hundreds of thousands.
        const qsizetype at = folded.size();
        folded.resize(at + text.size());
        std::transform(text.begin(), text.end(), folded.begin() + at, [](QChar c) {
            return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + (u'a' - u'A')) : c;
        });
        return;
    }
    for (const QChar c : text.toString().normalized(QString::NormalizationForm_KD)) {
        if (c.category() == QChar::Mark_NonSpacing) {
            continue;
        }
        const QChar lower = c.toCaseFolded();
        if (const QStringView plain = PlainForm(lower); !plain.isEmpty()) {
            folded += plain;
        } else {
            folded += lower;
        }
    }
}

QString Folded(QStringView text) {
    QString folded;
    AppendFolded(text, folded);
    return folded;
}
