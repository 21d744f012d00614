// Money and whole-number entry boxes.
#include "common/NumberBoxes.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <QRegularExpressionValidator>

namespace korv {

MoneyEdit::MoneyEdit(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral(R"(-?\d{0,12}(\.\d{0,2})?)")), this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QString MoneyEdit::formatted(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        return QStringLiteral("0.00");
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? QString::number(v, 'f', 2) : text;
}

void MoneyEdit::showFormatted()
{
    const QString f = formatted(text());
    if (f != text())
        setText(f);
}

void MoneyEdit::focusInEvent(QFocusEvent *event)
{
    qApp->installEventFilter(this);
    QLineEdit::focusInEvent(event);
}

void MoneyEdit::focusOutEvent(QFocusEvent *event)
{
    qApp->removeEventFilter(this);
    showFormatted();
    QLineEdit::focusOutEvent(event);
}

// While the box has the focus: a press anywhere else is seen before the control pressed acts.
bool MoneyEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() && watched != this && hasFocus())
        showFormatted();
    return QLineEdit::eventFilter(watched, event);
}

IntEdit::IntEdit(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral(R"(\d{0,9})")), this));
}

void IntEdit::keyPressEvent(QKeyEvent *event)
{
    if (!isReadOnly() && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        const int step = event->key() == Qt::Key_Up ? 1 : -1;
        // The box takes nine digits at most; stepping never leaves that range.
        const int next = std::clamp(text().toInt() + step, 0, 999999999);
        setText(QString::number(next));
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace korv
