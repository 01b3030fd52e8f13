// Olvanta: converts a time of day from one place on Earth to another.
#include "app/COlvantaApp.h"
#include "platform/StandardDescriptors.h"

int main(int argc, char** argv) {
    // Before Qt opens its display connection, which would otherwise become
    // standard error when that is closed, and then receive Qt's warnings.
    platform::OpenClosedStandardDescriptors();
    COlvantaApp application(argc, argv);
    application.InitInstance();
    return application.ExitStatus();
}
