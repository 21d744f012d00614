// Builders for the named controls every window creates.
#pragma once

#include <QString>

class QComboBox;
class QPushButton;
class QWidget;

namespace korv {

// Gives a control the name tests and the window's code know it by.
template <class W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// A push button with its name; `width` > 0 fixes its width.
QPushButton *namedButton(const QString &name, const QString &text, QWidget *parent, int width = 0);

// An editable drop-down that keeps exactly what is typed: no inline completion, and nothing
// typed is added to its list.
QComboBox *pickList(const QString &name, QWidget *parent);

// Empties a drop-down's choice and its text.
void clearPick(QComboBox *box);

}  // namespace korv
