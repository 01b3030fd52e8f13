#include "places/PlaceMatcher.h"

#include <algorithm>

namespace {

enum class Match { None, WholeText, LaterWord };

Match MatchOf(QStringView text, QStringView folded) {
    if (text.startsWith(folded)) {
        return Match::WholeText;
    }
    for (qsizetype at = text.indexOf(folded, 1); at > 0; at = text.indexOf(folded, at + 1)) {
        if (!text[at - 1].isLetterOrNumber()) {
            return Match::LaterWord;
        }
    }
    return Match::None;
}

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

QString PlaceMatcher::Folded(QStringView text) {
    QString folded;
    AppendFolded(text, folded);
    return folded;
}

void PlaceMatcher::AppendFolded(QStringView text, QString& folded) {
    if (IsAscii(text)) {
        // Nearly every place name: nothing to decompose.
        for (const QChar c : text) {
            folded += c.toLower();
        }
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

void PlaceMatcher::FoldEntries() {
    m_starts.reserve(static_cast<std::size_t>(m_list.Count()) + 1);
    for (int position = 0; position < m_list.Count(); ++position) {
        m_starts.push_back(m_folded.size());
        AppendFolded(m_list.Text(position), m_folded);
    }
    m_starts.push_back(m_folded.size());
}

QStringView PlaceMatcher::FoldedEntry(int position) const {
    const auto index = static_cast<std::size_t>(position);
    return QStringView(m_folded).sliced(m_starts[index], m_starts[index + 1] - m_starts[index]);
}

std::vector<int> PlaceMatcher::Find(QStringView typed) {
    while (!typed.isEmpty() && typed.front().isSpace()) {
        typed = typed.sliced(1);
    }
    const QString folded = Folded(typed);
    if (folded.isEmpty()) {
        return {};
    }
    if (m_starts.empty()) {
        FoldEntries();
    }
    std::vector<int> found;
    std::vector<int> byLaterWord;
    for (int position = 0; position < m_list.Count(); ++position) {
        switch (MatchOf(FoldedEntry(position), folded)) {
            case Match::WholeText: found.push_back(position); break;
            case Match::LaterWord: byLaterWord.push_back(position); break;
            case Match::None: break;
        }
    }
    found.insert(found.end(), byLaterWord.begin(), byLaterWord.end());
    return found;
}
