// Where windows appear: modal windows centred on the desktop, the main window where it was left.
#pragma once

#include <QString>

class QWidget;

namespace korv {

// Moves a window of fixed size to the middle of the primary screen.
void centreOnDesktop(QWidget *window);

// The file that keeps the program's window places. It lives in the program directory beside
// the database, so a shop's places stay with its data and a test's program directory never
// touches the user's own settings.
QString placeSettingsFile(const QString &programDir);

// Puts a top-level window where it was left. The first time (or when what was kept is
// unusable) it fills the available area of the primary screen and is maximized; the geometry
// is set as well, so the window fills the screen even where no window manager maximizes it.
void restoreWindowPlace(QWidget *window, const QString &settingsFile, const QString &key);
// Keeps the window's size, place and maximized state for the next start.
void saveWindowPlace(const QWidget *window, const QString &settingsFile, const QString &key);

}  // namespace korv
