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

#include <QApplication>
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
bool showActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

}  // namespace korv::test
