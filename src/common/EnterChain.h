// Enter moves the focus along a fixed chain of entry boxes.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace korv {

// Installed on a window: Enter in a box of the chain moves the focus to the box after it.
class EnterChain : public QObject {
    Q_OBJECT
public:
    EnterChain(QObject *owner, const QList<QWidget *> &chain);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPointer<QWidget>> chain_;
};

}  // namespace korv
