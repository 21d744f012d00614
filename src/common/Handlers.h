// Runs window handlers so that a data-layer failure ends the handler with the error box.
#pragma once

#include <QObject>
#include <QVariant>
#include <functional>

namespace korv {

// Runs `body`; a DbError or other exception stops it there and its text is shown in the error
// box. Answers false when the body was stopped that way.
bool runHandler(const std::function<void()> &body);

// A window that is going away runs no more handlers: leaving a box, a list click or a timer
// then does nothing. Work windows stop theirs when closed and start them again when shown.
inline constexpr char kHandlersStopped[] = "handlersStopped";
inline void stopHandlers(QObject *window, bool stopped = true)
{
    window->setProperty(kHandlersStopped, stopped);
}
inline bool handlersStopped(const QObject *window)
{
    return window->property(kHandlersStopped).toBool();
}

// Whether a handler of class `Window` may run on `window` now. An object is destroyed from its
// most derived class down, and a box losing the focus as it is deleted (in ~QWidget) would
// otherwise run the handler on a window whose members are gone. Once Window's own destructor
// has finished the object no longer casts to Window, so the test needs no help from any
// destructor and holds for every window class.
template <typename Window>
bool handlerMayRun(Window *window)
{
    return dynamic_cast<Window *>(static_cast<QObject *>(window)) != nullptr && !handlersStopped(window);
}

// Connects a signal to a handler method of a window through runHandler, so no exception ever
// reaches Qt's event loop, and no handler runs on a window that is going away. What a handler
// answers (a preview it opened, for tests) is dropped.
template <typename Sender, typename Signal, typename Window, typename Result>
QMetaObject::Connection connectHandler(Sender *sender, Signal signal, Window *window, Result (Window::*handler)())
{
    return QObject::connect(sender, signal, window, [window, handler] {
        if (handlerMayRun(window))
            runHandler([&] { (window->*handler)(); });
    });
}

}  // namespace korv
