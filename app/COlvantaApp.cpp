#include "app/COlvantaApp.h"

#include <system_error>

#include "app/COlvantaDlg.h"
#include "controls/MessageBoxSink.h"
#include "platform/ExecutablePath.h"
#include "timecalc/UiStringTable.h"

COlvantaApp::COlvantaApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The application's name stays the program file's name: message boxes
    // carry it as their title. The desktop entry's name lets a Wayland
    // compositor show the entry's icon and name for the window, whatever the
    // program file is called.
    setDesktopFileName(QStringLiteral("org.example.olvanta"));
}

bool COlvantaApp::InitInstance() {
    const std::optional<std::filesystem::path> dataDirectory =
        DataDirectory(platform::ExecutableDirectory, MessageBoxSink::Instance());
    if (!dataDirectory) {
        m_exitStatus = 1;
        return false;
    }
    const platform::SystemClock clock;
    const DialogEnvironment environment{*dataDirectory, clock, MessageBoxSink::Instance()};
    COlvantaDlg dialog(environment);
    if (!dialog.CatalogueLoaded()) {
        m_exitStatus = 1;
        return false;
    }
    dialog.DoModal();
    return false;
}

std::optional<std::filesystem::path> DataDirectory(
    const std::function<std::filesystem::path()>& executableDirectory,
    platform::MessageSink& messages) {
    try {
        return executableDirectory();
    } catch (const std::system_error&) {
        messages.ShowMessage(platform::MessageIcon::Stop, UiText(UiString::TimezonesDataError));
        return std::nullopt;
    }
}
