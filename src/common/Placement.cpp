// Centring of modal windows, and the main window's place kept from one start to the next.
#include "common/Placement.h"

#include <QApplication>
#include <QDialog>
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

QWidget *frontWindow(QWidget *fallback)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    QWidget *active = QApplication::activeWindow();
    QWidget *onTop = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || !w->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            continue;
        if (w == active)
            return w;
        onTop = w;
    }
    if (onTop)
        return onTop;
    if (fallback)
        return fallback->window();
    return active;
}

void ownBy(QWidget *dialog, QWidget *owner)
{
    if (!owner || owner == dialog)
        return;
    Qt::WindowFlags flags = dialog->windowFlags();
    if (owner->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        flags |= Qt::WindowStaysOnTopHint;
    if (dialog->parentWidget() != owner || flags != dialog->windowFlags())
        dialog->setParent(owner, flags);
}

int execInFront(QDialog &dialog)
{
    QWidget *owner = dialog.parentWidget();
    const Qt::WindowFlags flags = dialog.windowFlags();
    QWidget *front = frontWindow(owner);
    if (!owner || front != owner->window())
        ownBy(&dialog, front);
    const int result = dialog.exec();
    // A dialog kept by its caller must not be destroyed with a preview closed after it.
    if (dialog.parentWidget() != owner)
        dialog.setParent(owner, flags);
    return result;
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
