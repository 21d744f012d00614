// The desktop handler, or a recorder set by tests.
#include "common/Desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace korv {

namespace {
std::function<void(const QString &)> g_opener;
}

void openWithDesktop(const QString &path)
{
    if (g_opener)
        g_opener(path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setDesktopOpener(std::function<void(const QString &)> opener)
{
    g_opener = std::move(opener);
}

}  // namespace korv
