// Compares a form's entry boxes with what they held when they last matched a record.
#include "ui/FormChanges.h"

#include "common/DatePicker.h"
#include "common/Messages.h"
#include "common/NumberBoxes.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace korv::ui {

namespace {
// A money box shows "0.00" for nothing once it is left, which is no typing of the user's.
QString shownText(const QWidget *box)
{
    if (const auto *money = qobject_cast<const MoneyEdit *>(box))
        return MoneyEdit::formatted(money->text());
    if (const auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    if (const auto *combo = qobject_cast<const QComboBox *>(box))
        return combo->currentText();
    if (const auto *date = qobject_cast<const DatePicker *>(box))
        return date->dateTimeText();
    return QString();
}
}  // namespace

void FormChanges::setBoxes(const QList<QWidget *> &boxes)
{
    boxes_ = {boxes.begin(), boxes.end()};
    take();
}

void FormChanges::take()
{
    taken_ = texts();
}

bool FormChanges::changed() const
{
    return texts() != taken_;
}

bool FormChanges::mayDropAny(const QList<const FormChanges *> &forms)
{
    const bool changed = std::any_of(forms.begin(), forms.end(), [](const FormChanges *f) { return f->changed(); });
    return !changed || msg::confirm(kDropChanges);
}

QStringList FormChanges::texts() const
{
    QStringList texts;
    for (const QPointer<QWidget> &box : boxes_)
        texts << (box ? shownText(box) : QString());
    return texts;
}

void tabToSave(QWidget *lastEntry, QWidget *save)
{
    QWidget::setTabOrder(lastEntry, save);
}

}  // namespace korv::ui
