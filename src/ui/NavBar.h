// The main window's navigation bar: collapsible groups of large command buttons.
#pragma once

#include <QIcon>
#include <QWidget>

class QToolButton;
class QVBoxLayout;

namespace korv::ui {

// A vertical bar of groups; each group has a header button that folds its command buttons.
class NavBar : public QWidget {
    Q_OBJECT
public:
    explicit NavBar(QWidget *parent = nullptr);

    // Adds a group and answers its container, to which addItem adds buttons.
    QWidget *addGroup(const QString &objectName, const QString &caption);
    QToolButton *addItem(QWidget *group, const QString &objectName, const QString &caption, const QIcon &icon);
    void setGroupVisible(QWidget *group, bool visible);

private:
    QVBoxLayout *layout_;
};

}  // namespace korv::ui
