// The one window driver of the tests.
#include "support/WindowDriver.h"

#include "data/Query.h"
#include "ui/DBGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace korv::test {

void WindowDriver::fail(const QString &name)
{
    QTest::qFail(qPrintable(QStringLiteral("no control named %1").arg(name)), __FILE__, __LINE__);
}

void WindowDriver::type(const QString &name, const QString &text) const
{
    QWidget *box = find(name);
    if (!box)
        return;
    box->setFocus();
    if (auto *combo = qobject_cast<QComboBox *>(box); combo && combo->lineEdit())
        combo->lineEdit()->clear();
    else if (auto *line = qobject_cast<QLineEdit *>(box))
        line->clear();
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(box))
        memo->clear();
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void WindowDriver::enter(const QString &name, const QString &text) const
{
    type(name, text);
    leave(name);
}

void WindowDriver::leave(const QString &name) const
{
    if (QWidget *box = find(name))
        QTest::keyClick(box, Qt::Key_Tab);
}

void WindowDriver::setText(const QString &name, const QString &text) const
{
    QWidget *box = find(name);
    if (auto *combo = qobject_cast<QComboBox *>(box))
        combo->setEditText(text);
    else if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setText(text);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(box))
        memo->setPlainText(text);
}

QString WindowDriver::text(const QString &name) const
{
    QWidget *box = find(name);
    if (auto *combo = qobject_cast<QComboBox *>(box))
        return combo->currentText();
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    if (auto *label = qobject_cast<QLabel *>(box))
        return label->text();
    if (auto *memo = qobject_cast<QPlainTextEdit *>(box))
        return memo->toPlainText();
    if (auto *button = qobject_cast<QAbstractButton *>(box))
        return button->text();
    return QString();
}

void WindowDriver::click(const QString &button) const
{
    auto *b = find<QAbstractButton>(button);
    if (!b)
        return;
    // A click on a disabled button does nothing, which a test would take for the button's effect.
    if (!b->isEnabled())
        QTest::qFail(qPrintable(QStringLiteral("button %1 is disabled").arg(button)), __FILE__, __LINE__);
    QTest::mouseClick(b, Qt::LeftButton);
}

bool WindowDriver::enabled(const QString &name) const
{
    QWidget *box = find(name);
    return box && box->isEnabled();
}

void WindowDriver::clickRow(const QString &grid, int row) const
{
    auto *g = find<ui::DBGrid>(grid);
    if (g)
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(row, 0)).center());
}

void WindowDriver::doubleClickRow(const QString &grid, int row) const
{
    auto *g = find<ui::DBGrid>(grid);
    if (!g)
        return;
    const QPoint at = g->visualRect(g->model()->index(row, 0)).center();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
}

QString WindowDriver::cell(const QString &grid, int row, int column) const
{
    auto *g = find<ui::DBGrid>(grid);
    return g ? g->model()->index(row, column).data().toString() : QString();
}

int WindowDriver::rowCount(const QString &grid) const
{
    auto *g = find<ui::DBGrid>(grid);
    return g ? g->model()->rowCount() : -1;
}

QString WindowDriver::focused()
{
    QWidget *f = QApplication::focusWidget();
    return f ? f->objectName() : QString();
}

bool WindowDriver::hasFocus(const QString &name) const
{
    QWidget *box = find(name);
    QWidget *f = QApplication::focusWidget();
    return box && f && (f == box || box->isAncestorOf(f));
}

}  // namespace korv::test
