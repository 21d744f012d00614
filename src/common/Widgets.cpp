#include "common/Widgets.h"

#include <QComboBox>
#include <QPushButton>

namespace korv {

QPushButton *namedButton(const QString &name, const QString &text, QWidget *parent, int width)
{
    auto *b = named(new QPushButton(text, parent), name);
    if (width > 0)
        b->setFixedWidth(width);
    return b;
}

QComboBox *pickList(const QString &name, QWidget *parent)
{
    auto *box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(20);
    // Long names in the list must not widen the form past the screen; the drop-down still
    // widens to show them whole.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(6);
    clearPick(box);
    return box;
}

void clearPick(QComboBox *box)
{
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

}  // namespace korv
