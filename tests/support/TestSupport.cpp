// Test helpers shared by every test executable.
#include "support/TestSupport.h"

#include "common/Clock.h"
#include "data/Schema.h"
#include "data/Values.h"

#include <QTest>

namespace korv::test {

ScriptedMessages::ScriptedMessages()
{
    setMessagePresenter(this);
}

namespace {
void failTest(const QString &why, const QString &text)
{
    QTest::qFail(qPrintable(why + QStringLiteral(": \"") + text + QLatin1Char('"')), __FILE__, __LINE__);
}
}  // namespace

ScriptedMessages::~ScriptedMessages()
{
    setMessagePresenter(nullptr);
    // After an earlier failure, unused answers say nothing new.
    if (!answers.isEmpty() && !QTest::currentTestFailed())
        failTest(QStringLiteral("%1 scripted answer(s) never asked for, after").arg(answers.size()), last());
}

bool ScriptedMessages::present(MessageKind kind, const QString &caption, const QString &text)
{
    shown.append({kind, caption, text});
    if (kind == MessageKind::Error && !errorsAllowed_)
        failTest(QStringLiteral("unexpected error box"), text);
    if (kind != MessageKind::Confirmation)
        return true;
    if (answers.isEmpty()) {
        failTest(QStringLiteral("confirmation without a scripted answer"), text);
        return false;
    }
    return answers.takeFirst();
}

QStringList ScriptedMessages::texts() const
{
    QStringList all;
    for (const Shown &s : shown)
        all << s.text;
    return all;
}

TempProgramDir::TempProgramDir()
{
    createDatabaseFileIfAbsent(dbPath());
}

QString TempProgramDir::path() const
{
    return dir_.path() + QLatin1Char('/');
}

FixedClock::FixedClock(const QDateTime &moment)
{
    Clock::setFixed(moment);
}

FixedClock::~FixedClock()
{
    Clock::setFixed(std::nullopt);
}

QDateTime at(int y, int mo, int d, int h, int mi, int s)
{
    return wallClock(QDate(y, mo, d), QTime(h, mi, s));
}

}  // namespace korv::test

#include "shell/Uxgkl.h"
#include "shell/Uyhdl.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace korv::test {
void onNextModal(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}
}  // namespace korv::test

namespace korv::test {
void FreshDatabase::init()
{
    dir = std::make_unique<TempProgramDir>();
    db = std::make_unique<Database>(dir->dbPath());
}

void FreshDatabase::cleanup()
{
    db.reset();
    dir.reset();
}

// Says OK to the message about the default password (where no scripted messages stand in for
// the boxes) and cancels the 修改口令 window that follows it.
void keepDefaultPasswordWhenAsked()
{
    onNextModal([](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->done(QMessageBox::Ok);
            keepDefaultPasswordWhenAsked();
            return;
        }
        auto *change = qobject_cast<Tfrmxgkl *>(modal);
        QVERIFY(change);
        change->reject();
    });
}

void loginWhenAsked(const QString &name, const QString &password)
{
    onNextModal([name, password](QWidget *modal) {
        auto *login = qobject_cast<TFrmyhdl *>(modal);
        QVERIFY(login);
        login->ComboBox1->setEditText(name);
        login->Edit1->setText(password);
        QTest::mouseClick(login->btnok, Qt::LeftButton);
        if (login->usedDefaultPassword())
            keepDefaultPasswordWhenAsked();
    });
}

bool showActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

}  // namespace korv::test
