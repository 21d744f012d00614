// Handlers that run when the focus leaves an entry box.
#pragma once

#include "common/Handlers.h"

#include <QObject>
#include <QWidget>

namespace korv {

// Turns a focus change away from a box into a signal a handler can be connected to.
class ExitWatcher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void exited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Runs `handler` of `window` whenever the focus moves from `box` to another control of the
// program; a message box or menu coming to the front is not leaving the box.
template <typename Window>
void onExit(QWidget *box, Window *window, void (Window::*handler)())
{
    auto *watcher = new ExitWatcher(box);
    box->installEventFilter(watcher);
    connectHandler(watcher, &ExitWatcher::exited, window, handler);
}

}  // namespace korv
