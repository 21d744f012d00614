// Colours the entry box that has the keyboard focus in a work window.
#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace korv {

// Watches every focus change of the program while its window lives: the focused box of its
// list gets #9BDEFF, every other box of the list the normal colour.
class FocusHighlight : public QObject {
    Q_OBJECT
public:
    static const QColor kFocusColor;

    explicit FocusHighlight(QWidget *window);
    void addBoxes(const QList<QWidget *> &boxes);
    void refresh();

private:
    QList<QPointer<QWidget>> boxes_;
};

}  // namespace korv
