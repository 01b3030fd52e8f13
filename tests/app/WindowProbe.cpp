// Runs the program as a person would, offscreen: the application object loads
// the data beside this executable and shows the main window; once it shows,
// a place is typed, a quick button pressed, the About box opened and closed,
// and the window closed with Escape, which saves the places. Settings go
// under CONFIG_DIR, never to the user's own. scripts/leak-check runs it under
// valgrind; CTest runs it as the test of one whole start and close.
//   olvanta-window-probe CONFIG_DIR
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/COlvantaApp.h"
#include "app/COlvantaDlg.h"
#include "app/PlaceComboBox.h"
#include "controls/CAboutDlg.h"

namespace {

template <typename Widget>
Widget* Control(QWidget& window, int id) {
    return window.findChild<Widget*>(QString::number(id));
}

void UseAndClose() {
    auto* window = qobject_cast<COlvantaDlg*>(QApplication::activeModalWidget());
    if (window == nullptr) {
        std::fprintf(stderr, "olvanta-window-probe: the main window is not showing\n");
        std::exit(3);
    }
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window)) {
        std::fprintf(stderr, "olvanta-window-probe: the main window does not become active\n");
        std::exit(3);
    }
    auto* base = Control<PlaceComboBox>(*window, COlvantaDlg::kIdBaseList);
    base->setFocus();
    base->lineEdit()->selectAll();
    QTest::keyClicks(base->lineEdit(), QStringLiteral("Berl"));
    // Tab as the keyboard sends it: to the suggestions that typing opened.
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab);
    QTest::mouseClick(Control<QPushButton>(*window, COlvantaDlg::kIdNoon), Qt::LeftButton);

    QTimer::singleShot(0, [] {
        if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            about->accept();
        }
    });
    window->OnSysCommand(COlvantaDlg::kAboutCommand);

    const QString result = Control<QPlainTextEdit>(*window, COlvantaDlg::kIdResult)->toPlainText();
    std::printf("base: %s\nresult: %s\n", qPrintable(base->currentText()),
                qPrintable(result.section(QLatin1Char('\n'), 0, 0)));
    QTest::keyClick(window, Qt::Key_Escape);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: olvanta-window-probe CONFIG_DIR\n");
        return 2;
    }
    // Every run starts as a first start, whatever an earlier build left there.
    std::filesystem::remove_all(argv[1]);
    ::setenv("XDG_CONFIG_HOME", argv[1], 1);
    COlvantaApp application(argc, argv);
    QTimer::singleShot(0, &UseAndClose);
    application.InitInstance();
    std::ifstream saved(std::filesystem::path(argv[1]) / "Quandelle" / "Olvanta.conf");
    std::printf("saved:\n%s", std::string(std::istreambuf_iterator<char>(saved), {}).c_str());
    return application.ExitStatus();
}
