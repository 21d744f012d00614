// Navigation bar groups and their buttons.
#include "ui/NavBar.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace korv::ui {

NavBar::NavBar(QWidget *parent) : QWidget(parent), layout_(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("navBar"));
    setAttribute(Qt::WA_StyledBackground, true);
    layout_->setContentsMargins(4, 4, 4, 4);
    layout_->setSpacing(2);
    layout_->addStretch(1);
}

QWidget *NavBar::addGroup(const QString &objectName, const QString &caption)
{
    auto *header = new QToolButton(this);
    header->setObjectName(objectName + QStringLiteral("Header"));
    header->setProperty("class", QStringLiteral("navGroup"));
    header->setText(caption);
    header->setCheckable(true);
    header->setChecked(true);
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *group = new QWidget(this);
    group->setObjectName(objectName);
    auto *items = new QVBoxLayout(group);
    items->setContentsMargins(0, 2, 0, 6);
    items->setSpacing(2);
    connect(header, &QToolButton::toggled, group, &QWidget::setVisible);

    const int at = layout_->count() - 1;  // before the closing stretch
    layout_->insertWidget(at, header);
    layout_->insertWidget(at + 1, group);
    group->setProperty("navHeader", QVariant::fromValue<QObject *>(header));
    return group;
}

QToolButton *NavBar::addItem(QWidget *group, const QString &objectName, const QString &caption, const QIcon &icon)
{
    auto *button = new QToolButton(group);
    button->setObjectName(objectName);
    button->setProperty("class", QStringLiteral("navItem"));
    button->setText(caption);
    button->setIcon(icon);
    // Text beside a small icon keeps every group in sight on a 1024×768 screen without scrolling.
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    group->layout()->addWidget(button);
    return button;
}

void NavBar::setGroupVisible(QWidget *group, bool visible)
{
    if (auto *header = qobject_cast<QWidget *>(group->property("navHeader").value<QObject *>()))
        header->setVisible(visible);
    group->setVisible(visible);
}

}  // namespace korv::ui
