// Money and whole-number entry boxes.
#include "common/NumberBoxes.h"

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
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QStringLiteral("0.00");
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? QString::number(v, 'f', 2) : text;
}

void MoneyEdit::focusOutEvent(QFocusEvent *event)
{
    const QString f = formatted(text());
    if (f != text())
        setText(f);
    QLineEdit::focusOutEvent(event);
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
