// Entry boxes for money and whole numbers that keep exactly what the user typed.
#pragma once

#include <QLineEdit>

namespace korv {

// A money box: takes a decimal amount and shows it with two decimals when the focus leaves it;
// a box holding no digit ("", "-", ".", "-.") shows "0.00" once left, so no save ever stores
// such a text. Until it is visited it holds what was put into it. A click on a control that
// takes no focus (the record windows' buttons) counts as leaving it.
class MoneyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MoneyEdit(QWidget *parent = nullptr);
    // "150" -> "150.00"; no digit -> "0.00"; other text that is no number stays as it is.
    static QString formatted(const QString &text);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showFormatted();
};

// A whole-number box. Its text is kept as typed ("00" stays "00", empty stays empty); the
// up and down arrow keys step the number by one.
class IntEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit IntEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

}  // namespace korv
