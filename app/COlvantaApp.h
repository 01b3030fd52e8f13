// The application object: runs the main window modally and ends the program
// when it closes.
#pragma once

#include <QApplication>
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/MessageSink.h"

class COlvantaApp : public QApplication {
    Q_OBJECT

public:
    COlvantaApp(int& argc, char** argv);

    // Runs the whole program. Returns false, since the program ends when the
    // window closes; ExitStatus() tells how it ended.
    bool InitInstance();

    // 0, or 1 when a data file could not be read.
    int ExitStatus() const { return m_exitStatus; }

private:
    int m_exitStatus = 0;
};

// The directory of the data files: the program's own, which
// `executableDirectory` finds. When it cannot tell (it throws
// std::system_error, e.g. without /proc), no data file can be read: the zone
// file's message is shown and nothing is returned.
std::optional<std::filesystem::path> DataDirectory(
    const std::function<std::filesystem::path()>& executableDirectory,
    platform::MessageSink& messages);
