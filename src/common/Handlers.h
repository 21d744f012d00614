// Runs window handlers so that a data-layer failure ends the handler with the error box.
#pragma once

#include <QObject>
#include <functional>

namespace korv {

// Runs `body`; a DbError or other exception stops it there and its text is shown in the error
// box. Answers false when the body was stopped that way.
bool runHandler(const std::function<void()> &body);

// Connects a signal to a handler method of a window through runHandler, so no exception ever
// reaches Qt's event loop.
template <typename Sender, typename Signal, typename Window>
QMetaObject::Connection connectHandler(Sender *sender, Signal signal, Window *window, void (Window::*handler)())
{
    return QObject::connect(sender, signal, window, [window, handler] { runHandler([&] { (window->*handler)(); }); });
}

}  // namespace korv
