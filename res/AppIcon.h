// The application's icon, compiled into the program from res/olvanta.qrc:
// the windows, the About box and the task bar all show the same picture.
#pragma once

#include <QIcon>

// Every size the icon is drawn at, so each place picks the sharpest.
QIcon OlvantaIcon();

// Registers the compiled-in resources (":/olvanta/..."). OlvantaIcon() does it
// itself; a caller that loads the files by name calls it first.
void InitOlvantaResources();
