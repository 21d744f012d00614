// Centring of modal windows on the desktop rather than on their owner.
#include "common/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace korv {

void centreOnDesktop(QWidget *window)
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
}

}  // namespace korv
