#include "cli/PlaceMatch.h"

#include <QSet>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kSuggestionCount = 5;
// Containment of shorter texts says little: "a" is in half the list.
constexpr qsizetype kShortestContained = 3;
// Suggestions are for a mistyped place name, and every entry is compared
// with the whole of it: a name longer than any place name people type gets
// none, so that its length does not multiply the work for every entry.
constexpr qsizetype kLongestSuggestedFor = 64;

// Letters without their accents and case: "München" and "munchen" fold alike.
QString Folded(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!c.isMark()) {
            folded += c.toCaseFolded();
        }
    }
    return folded;
}

// Insertions, deletions, substitutions and swaps of two neighbours, each one
// edit (the optimal string alignment distance). Qt and the standard library
// have none, and a library for a few lines is not worth its weight.
int EditDistance(QStringView a, QStringView b) {
    const auto width = static_cast<std::size_t>(b.size()) + 1;
    std::vector<int> beforeLast(width), last(width), row(width);
    for (std::size_t j = 0; j < width; ++j) {
        last[j] = static_cast<int>(j);
    }
    for (qsizetype i = 1; i <= a.size(); ++i) {
        row[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const auto column = static_cast<std::size_t>(j);
            const int substitution = a[i - 1] == b[j - 1] ? 0 : 1;
            row[column] =
                std::min({last[column] + 1, row[column - 1] + 1, last[column - 1] + substitution});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                row[column] = std::min(row[column], beforeLast[column - 2] + 1);
            }
        }
        std::swap(beforeLast, last);
        std::swap(last, row);
    }
    return last[width - 1];
}

// How far apart two folded texts are, in edits; -1 when too far to suggest:
// more than a third of the typed text's length, unless one text holds the
// other, which is then as far as the characters it lacks.
int Closeness(const QString& typed, const QString& entry) {
    const auto lengthDifference = static_cast<int>(std::abs(typed.size() - entry.size()));
    if (std::min(typed.size(), entry.size()) >= kShortestContained &&
        (entry.contains(typed) || typed.contains(entry))) {
        return lengthDifference;
    }
    const auto allowed = static_cast<int>(std::max<qsizetype>(1, typed.size() / 3));
    if (lengthDifference > allowed) {
        return -1;
    }
    const int distance = EditDistance(typed, entry);
    return distance <= allowed ? distance : -1;
}

// Up to `count` entry texts close to `typed`, closest first.
QStringList CloseEntries(const PlaceList& list, const QString& typed, int count) {
    if (typed.size() > kLongestSuggestedFor) {
        return {};
    }
    const QString folded = Folded(typed);
    if (folded.isEmpty()) {
        return {};
    }
    struct Candidate {
        int closeness;
        int position;
    };
    std::vector<Candidate> candidates;
    for (int position = 0; position < list.Count(); ++position) {
        const int closeness = Closeness(folded, Folded(list.Text(position)));
        if (closeness >= 0) {
            candidates.push_back({closeness, position});
        }
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const Candidate& a, const Candidate& b) { return a.closeness < b.closeness; });
    QStringList close;
    QSet<QString> seen;
    for (const Candidate& candidate : candidates) {
        if (close.size() == count) {
            break;
        }
        if (const QString& text = list.Text(candidate.position); !seen.contains(text)) {
            seen.insert(text);
            close.append(text);
        }
    }
    return close;
}

}  // namespace

PlaceMatch MatchPlace(const PlaceList& list, const Catalogue& zones, std::string_view typedBytes) {
    PlaceMatch match;
    if (typedBytes.empty()) {
        return match;
    }
    const QString typed =
        QString::fromUtf8(typedBytes.data(), static_cast<qsizetype>(typedBytes.size()));
    if (const int exact = list.FindExact(typed); exact >= 0) {
        match.kind = PlaceMatch::Kind::Entry;
        match.zone = list.Zone(exact);
        match.entry = list.Text(exact);
        return match;
    }
    if (const CTimeZone* zone = zones.Lookup(typedBytes)) {
        match.kind = PlaceMatch::Kind::ZoneName;
        match.zone = zone;
        return match;
    }
    if (const int found = list.FindPrefix(typed, 0); found >= 0) {
        match.kind = PlaceMatch::Kind::Prefix;
        match.zone = list.Zone(found);
        match.entry = list.Text(found);
        return match;
    }
    match.suggestions = CloseEntries(list, typed, kSuggestionCount);
    return match;
}
