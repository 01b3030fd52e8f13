#include "res/AppIcon.h"

#include <QString>

// Q_INIT_RESOURCE must stand outside any namespace.
void InitOlvantaResources() {
    // Referencing the resource's registration keeps the linker from dropping
    // it from a static library that nothing else refers to.
    Q_INIT_RESOURCE(olvanta);
}

QIcon OlvantaIcon() {
    InitOlvantaResources();
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/olvanta/icons/olvanta-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
