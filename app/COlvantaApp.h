// The application object: runs the main window modally and ends the program
// when it closes.
#pragma once

#include <QApplication>

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
