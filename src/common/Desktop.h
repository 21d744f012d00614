// Opening a file with the desktop's own handler (the help), and which help file that is.
#pragma once

#include <QString>
#include <functional>

namespace korv {

void openWithDesktop(const QString &path);
// Tests record the request instead; an empty function restores the desktop.
void setDesktopOpener(std::function<void(const QString &)> opener);

// The help beside the program (`programDir` ends with a separator): a help.chm the shop put
// there wins, else the user guide that ships in help/; empty when neither is there.
QString helpFile(const QString &programDir);

}  // namespace korv
