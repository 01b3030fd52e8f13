// The application's icon, compiled into the program from res/olvanta.qrc:
// the windows, the About box and the task bar all show the same picture.
#pragma once

#include <QIcon>

// Every size the icon is drawn at, so each place picks the sharpest.
QIcon OlvantaIcon();

// The same picture offering the window system only the title bar's size (16
// pixels, drawn from a larger rendering on a scaled screen): a window that
// starts with it hands over one picture instead of eight. The window switches
// to OlvantaIcon() once it is shown.
QIcon OlvantaTitleBarIcon();

// Registers the compiled-in resources (":/olvanta/..."). OlvantaIcon() does it
// itself; a caller that loads the files by name calls it first.
void InitOlvantaResources();
