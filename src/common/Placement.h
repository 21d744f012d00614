// Where windows appear: modal windows centred on the desktop, the main window where it was left.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace korv {

// Moves a window of fixed size to the middle of the primary screen.
void centreOnDesktop(QWidget *window);

// The window a new box or dialog belongs in front of: the modal window the user is answering,
// else a window that stays on top of the others (a print preview), preferring the active one,
// else `fallback`'s window, else the active window. May be nullptr when no window is shown.
QWidget *frontWindow(QWidget *fallback = nullptr);
// Makes `dialog` a window of `owner`, so that it opens above it under any window manager and
// takes the focus from it: a window that stays on top passes that on to what it owns.
void ownBy(QWidget *dialog, QWidget *owner);
// Runs a modal dialog owned by the window in front, so that a preview that stays on top never
// hides it; afterwards the dialog belongs to its own parent again.
int execInFront(QDialog &dialog);

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
