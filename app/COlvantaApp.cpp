#include "app/COlvantaApp.h"

#include "app/COlvantaDlg.h"
#include "controls/MessageBoxSink.h"
#include "platform/ExecutablePath.h"
#include "platform/FileKeyStore.h"

COlvantaApp::COlvantaApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The application's name stays the program file's name: message boxes
    // carry it as their title. The desktop entry's name lets a Wayland
    // compositor show the entry's icon and name for the window, whatever the
    // program file is called.
    setDesktopFileName(QStringLiteral("org.example.olvanta"));
}

bool COlvantaApp::InitInstance() {
    const platform::SystemClock clock;
    platform::FileKeyStore settings;
    const DialogEnvironment environment{platform::ExecutableDirectory(), clock, settings,
                                        MessageBoxSink::Instance()};
    COlvantaDlg dialog(environment);
    if (!dialog.CatalogueLoaded()) {
        m_exitStatus = 1;
        return false;
    }
    dialog.DoModal();
    return false;
}
