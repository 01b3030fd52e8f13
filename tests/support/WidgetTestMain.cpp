// The entry point of the widget tests: one QApplication for the whole run,
// made before the first test and gone before the program's static objects.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Widget tests never need a screen; listing them at build time has none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
