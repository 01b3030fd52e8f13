// Started by startup_bench: shows either the main window over a data
// directory or a minimal dialog, offscreen, and prints when its first paint
// happened (steady clock, shared by all processes), its resident memory, and
// for the main window when it was ready (the work it queued while starting
// done), how long typing a prefix into the base list and
// leaving it takes until the result is shown.
//   olvanta-startup-probe --minimal
//   olvanta-startup-probe DATA_DIR CONFIG_DIR
// CONFIG_DIR holds the settings, so that runs after the first start as a
// user's every later start does.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/COlvantaDlg.h"
#include "app/PlaceComboBox.h"

namespace {

std::int64_t SteadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// Notes the moment of the first paint of the watched window.
class FirstPaint : public QObject {
public:
    std::int64_t at = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && at == 0) {
            at = SteadyNanoseconds();
        }
        return false;
    }
};

void ShowAndWait(QWidget& window, FirstPaint& paint) {
    window.installEventFilter(&paint);
    window.show();
    while (paint.at == 0) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

class StderrSink : public platform::MessageSink {
public:
    void ShowMessage(platform::MessageIcon, std::string_view text) override {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

double TypePrefixAndLeave(COlvantaDlg& window) {
    auto* list = window.findChild<PlaceComboBox*>(QString::number(COlvantaDlg::kIdBaseList));
    list->setFocus();
    QApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), QStringLiteral("Ne"));
    // Tab as the keyboard sends it: to the suggestions that typing opened.
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab);
    QApplication::processEvents();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (std::string(argv[1]) != "--minimal" && argc != 3)) {
        std::fprintf(stderr, "usage: olvanta-startup-probe --minimal | DATA_DIR CONFIG_DIR\n");
        return 2;
    }
    QApplication application(argc, argv);
    FirstPaint paint;
    if (std::string(argv[1]) == "--minimal") {
        // The least a dialog shows: a line of text and an OK button.
        QDialog dialog;
        dialog.resize(600, 200);
        QLabel text(QStringLiteral("Olvanta"), &dialog);
        QPushButton ok(QStringLiteral("OK"), &dialog);
        ok.move(10, 40);
        ShowAndWait(dialog, paint);
        std::printf("shown_ns=%lld rss_kb=%ld\n", static_cast<long long>(paint.at),
                    ResidentKilobytes());
        return 0;
    }
    const platform::SystemClock clock;
    ::setenv("XDG_CONFIG_HOME", argv[2], 1);
    StderrSink messages;
    const DialogEnvironment environment{argv[1], clock, messages};
    COlvantaDlg window(environment);
    if (!window.CatalogueLoaded()) {
        return 1;
    }
    window.OnInitDialog();
    ShowAndWait(window, paint);
    // What the window leaves until it is on screen (its icon's other sizes)
    // runs next; it is ready for the user when that is done.
    QApplication::processEvents();
    const std::int64_t ready = SteadyNanoseconds();
    const long rss = ResidentKilobytes();
    const double typing = TypePrefixAndLeave(window);
    std::printf("shown_ns=%lld ready_ns=%lld rss_kb=%ld type_leave_ms=%.3f\n",
                static_cast<long long>(paint.at), static_cast<long long>(ready), rss, typing);
    return 0;
}
