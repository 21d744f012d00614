// Leaving an entry box as the windows' exit handlers see it.
#include "common/ExitWatcher.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>

namespace korv {

namespace {
// Eats the one mouse press that is being delivered right now, then goes away.
class PressEater : public QObject {
public:
    PressEater() : QObject(qApp)
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(0, this, [this] { delete this; });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonPress)
            return QObject::eventFilter(watched, event);
        deleteLater();
        return true;
    }
};
}  // namespace

bool ExitWatcher::eventFilter(QObject *watched, QEvent *event)
{
    // Another window coming to the front (a message box, a menu) is not leaving the box.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            emit exited();
            // A click moves the focus before its press reaches the clicked button. When the
            // handler's message box has taken the release meanwhile, that press would leave
            // the button held down, so the click ends here, as it does on the desktop.
            if (reason == Qt::MouseFocusReason && QGuiApplication::mouseButtons() == Qt::NoButton)
                new PressEater;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korv
