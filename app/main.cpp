// Olvanta: converts a time of day from one place on Earth to another.
#include "app/COlvantaApp.h"

int main(int argc, char** argv) {
    COlvantaApp application(argc, argv);
    application.InitInstance();
    return application.ExitStatus();
}
