// The one QApplication that widget tests need, made on first use and kept for
// the whole test program (Qt allows one per process).
#pragma once

#include <QApplication>

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "olvanta-tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}
