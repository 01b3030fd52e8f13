// Typing a place into the real window, offscreen: the time from each key
// press to the suggestions being painted, over the shipped data and over
// 200,000 places. Prints, for each, the median and the slowest keystroke, the
// very first one alone (it also makes the list's suggestions and their popup)
// and the slowest of the others.
//   suggestion_bench [ROUNDS]   (default 5: each round types every word once)
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "SyntheticData.h"
#include "app/COlvantaDlg.h"
#include "app/PlaceComboBox.h"
#include "platform/ExecutablePath.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes when a popup (the suggestions: the window opens no other while
// typing) was last painted.
class PaintWatch : public QObject {
public:
    Clock::time_point paintedAt;
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget != nullptr &&
            widget->window()->windowType() == Qt::Popup) {
            paintedAt = Clock::now();
        }
        return false;
    }
};

class QuietSink : public platform::MessageSink {
public:
    void ShowMessage(platform::MessageIcon, std::string_view text) override {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

struct Timings {
    std::vector<double> keystrokesMs;
    int unanswered = 0;  // keystrokes after which nothing was painted
};

// Presses one key where the keyboard would send it, and waits for the
// suggestions to be painted; the time taken, or none after two seconds.
std::optional<double> TimeKeystroke(QChar character, PaintWatch& watch) {
    QWidget* target = QApplication::activePopupWidget();
    if (target == nullptr) {
        target = QApplication::focusWidget();
    }
    const Clock::time_point start = Clock::now();
    watch.paintedAt = {};
    QTest::keyClick(target, character.toLatin1());
    while (watch.paintedAt < start) {
        QApplication::processEvents();
        if (Clock::now() - start > std::chrono::seconds(2)) {
            return std::nullopt;
        }
    }
    return std::chrono::duration<double, std::milli>(watch.paintedAt - start).count();
}

void TypeWord(const QString& word, PlaceComboBox& list, PaintWatch& watch, Timings& timings) {
    list.setFocus();
    list.lineEdit()->selectAll();
    QTest::keyClick(list.lineEdit(), Qt::Key_Backspace);
    QApplication::processEvents();
    for (const QChar character : word) {
        if (const auto ms = TimeKeystroke(character, watch)) {
            timings.keystrokesMs.push_back(*ms);
        } else {
            ++timings.unanswered;
        }
    }
    if (QWidget* popup = QApplication::activePopupWidget()) {
        QTest::keyClick(popup, Qt::Key_Escape);
        QApplication::processEvents();
    }
}

// Words as people type them: beginnings of whole names and of later words,
// with and without accents, and a name that is not in the list.
QStringList ShippedWords() {
    return {"san francisco", "new york", "sao paulo", "york", "london", "bombay", "kolkata"};
}

// Beginnings of names spread over the whole list, and a text that matches
// nothing.
QStringList SyntheticWords(const PlaceList& places) {
    QStringList words;
    for (int part = 1; part <= 6; ++part) {
        words << places.Text(places.Count() * part / 7).left(9).toLower();
    }
    words << QStringLiteral("qqxqqxq");
    return words;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Measure(const char* name, const std::filesystem::path& data, bool synthetic, int rounds) {
    const TempDir config;
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    const platform::SystemClock clock;
    QuietSink messages;
    COlvantaDlg window(DialogEnvironment{data, clock, messages});
    if (!window.CatalogueLoaded()) {
        std::fprintf(stderr, "%s: the data files cannot be read\n", name);
        std::exit(1);
    }
    window.OnInitDialog();
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "%s: the window is not shown\n", name);
        std::exit(1);
    }
    auto* list = window.findChild<PlaceComboBox*>(QString::number(COlvantaDlg::kIdBaseList));
    PaintWatch watch;
    QApplication::instance()->installEventFilter(&watch);

    const QStringList words = synthetic ? SyntheticWords(window.Places()) : ShippedWords();
    Timings timings;
    for (int round = 0; round < rounds; ++round) {
        for (const QString& word : words) {
            TypeWord(word, *list, watch, timings);
        }
    }
    if (timings.keystrokesMs.empty()) {
        std::fprintf(stderr, "%s: no keystroke showed suggestions\n", name);
        std::exit(1);
    }
    const std::vector<double>& ms = timings.keystrokesMs;
    const double slowest = *std::max_element(ms.begin(), ms.end());
    const double slowestLater = ms.size() > 1 ? *std::max_element(ms.begin() + 1, ms.end()) : 0;
    std::printf(
        "%s (%d entries): %zu keystrokes, median %.2f ms, slowest %.2f ms; first %.2f ms, "
        "slowest of the others %.2f ms; %d painted nothing\n",
        name, window.Places().Count(), ms.size(), Median(ms), slowest, ms.front(), slowestLater,
        timings.unanswered);
    QApplication::instance()->removeEventFilter(&watch);
    window.close();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::filesystem::path bin = platform::ExecutableDirectory().parent_path() / "bin";

    std::printf("keystroke to suggestions painted, offscreen, %d rounds\n", rounds);
    Measure("shipped data", bin, false, rounds);
    const TempDir medium;
    bench::WriteSyntheticCatalogue(medium.Path(), 2'000, 200'000, bench::PlaceOrder::Shuffled);
    Measure("200,000 places", medium.Path(), true, rounds);
    return 0;
}
