// Enter-key focus chains of the record windows.
#include "common/EnterChain.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace korv {

EnterChain::EnterChain(QObject *owner, const QList<QWidget *> &chain) : QObject(owner)
{
    for (QWidget *w : chain) {
        chain_ << QPointer<QWidget>(w);
        w->installEventFilter(this);
        // An editable combo box takes the key in its line edit.
        if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
}

bool EnterChain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    for (int i = 0; i + 1 < chain_.size(); ++i) {
        QWidget *box = chain_[i];
        if (box && (watched == box || box->isAncestorOf(qobject_cast<QWidget *>(watched)))) {
            if (QWidget *next = chain_[i + 1])
                next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return false;
}

}  // namespace korv
