// Focus colouring through the application's focus-change signal.
#include "common/FocusHighlight.h"

#include "common/Handlers.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace korv {

const QColor FocusHighlight::kFocusColor(0x9B, 0xDE, 0xFF);

namespace {
void paintBox(QWidget *box, bool focused)
{
    QPalette p = box->palette();
    const QColor colour = focused ? FocusHighlight::kFocusColor : QApplication::palette(box).color(QPalette::Base);
    if (p.color(QPalette::Base) == colour)
        return;
    p.setColor(QPalette::Base, colour);
    box->setPalette(p);
    // An editable combo box and a date picker paint their text through a line edit of their
    // own, which under the work area's theme does not take its owner's colours.
    if (auto *combo = qobject_cast<QComboBox *>(box); combo && combo->lineEdit())
        combo->lineEdit()->setPalette(p);
    else if (qobject_cast<QAbstractSpinBox *>(box))
        if (auto *edit = box->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly))
            edit->setPalette(p);
}

bool holdsFocus(QWidget *box, QWidget *focused)
{
    return focused && (focused == box || box->isAncestorOf(focused));
}
}  // namespace

FocusHighlight::FocusHighlight(QWidget *window) : QObject(window)
{
    // Parented to the window, so the connection ends when the window is destroyed.
    connect(qApp, &QApplication::focusChanged, this, [this] { refresh(); });
}

void FocusHighlight::addBoxes(const QList<QWidget *> &boxes)
{
    for (QWidget *b : boxes)
        boxes_ << QPointer<QWidget>(b);
    refresh();
}

void FocusHighlight::refresh()
{
    if (QCoreApplication::closingDown() || handlersStopped(parent()))
        return;
    QWidget *focused = QApplication::focusWidget();
    for (const QPointer<QWidget> &box : boxes_)
        if (box)
            paintBox(box, holdsFocus(box, focused));
}

}  // namespace korv
