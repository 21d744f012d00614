// Opening a file with the desktop's own handler (a help file the shop put beside the program).
#pragma once

#include <QString>
#include <functional>

namespace korv {

void openWithDesktop(const QString &path);
// Tests record the request instead; an empty function restores the desktop.
void setDesktopOpener(std::function<void(const QString &)> opener);

}  // namespace korv
