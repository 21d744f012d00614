// Typing in an entry form that is not saved yet, and the question before it is dropped.
#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>

class QWidget;

namespace korv::ui {

inline const QString kDropChanges = QStringLiteral(" 当前记录已修改但尚未保存，放弃修改吗？ ");

// What a form's entry boxes held when they last matched a record, a new record's start or a
// save; any difference since is typing the user would lose by leaving the record.
class FormChanges {
public:
    void setBoxes(const QList<QWidget *> &boxes);
    // The boxes as they are now count as unchanged.
    void take();
    bool changed() const;
    // True when nothing typed would be lost or the user agrees to drop it.
    bool mayDrop() const { return mayDropAny({this}); }
    // One question for several forms that go at once.
    static bool mayDropAny(const QList<const FormChanges *> &forms);

private:
    QStringList texts() const;

    QList<QPointer<QWidget>> boxes_;
    QStringList taken_;
};

// Tab from the last entry of a form goes to its 保存, so Enter there saves what was typed.
void tabToSave(QWidget *lastEntry, QWidget *save);

}  // namespace korv::ui
