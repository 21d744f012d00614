// Centring of modal windows, and the main window's place kept from one start to the next.
#include "common/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace korv {

void centreOnDesktop(QWidget *window)
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
}

QString placeSettingsFile(const QString &programDir)
{
    return programDir + QStringLiteral("korv.ini");
}

void restoreWindowPlace(QWidget *window, const QString &settingsFile, const QString &key)
{
    const QSettings settings(settingsFile, QSettings::IniFormat);
    if (window->restoreGeometry(settings.value(key).toByteArray()))
        return;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        window->setGeometry(screen->availableGeometry());
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void saveWindowPlace(const QWidget *window, const QString &settingsFile, const QString &key)
{
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.setValue(key, window->saveGeometry());
}

}  // namespace korv
