// Test helpers: scripted message boxes, temporary program directories, fixed clock.
#pragma once

#include "common/Messages.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

namespace korv::test {

// Stands in for the message boxes while it lives: records every message and answers
// confirmations from `answers`. It fails the running test on a confirmation nobody scripted an
// answer for (answering Cancel), on an error box unless allowErrors() was called, and on answers
// still unused when it goes away, so a test cannot pass on a box it did not expect.
class ScriptedMessages : public MessagePresenter {
public:
    struct Shown {
        MessageKind kind;
        QString caption;
        QString text;
    };

    ScriptedMessages();
    ~ScriptedMessages() override;
    bool present(MessageKind kind, const QString &caption, const QString &text) override;

    QStringList texts() const;
    QString last() const { return shown.isEmpty() ? QString() : shown.last().text; }
    void clear() { shown.clear(); }
    // For tests whose point is an error box: error boxes are recorded instead of failing.
    void allowErrors() { errorsAllowed_ = true; }

    QList<Shown> shown;
    QList<bool> answers;

private:
    bool errorsAllowed_ = false;
};

// A temporary program directory holding a fresh database and the theme files.
class TempProgramDir {
public:
    TempProgramDir();
    QString path() const;  // ends with '/'
    QString dbPath() const { return path() + QStringLiteral("korv.mdb"); }

private:
    QTemporaryDir dir_;
};

// Fixes "now" while it lives.
class FixedClock {
public:
    explicit FixedClock(const QDateTime &moment);
    ~FixedClock();
};

// A wall-clock moment: FixedClock(at(2005, 3, 5, 9, 7, 3)).
QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0);

}  // namespace korv::test

#include <functional>

class QWidget;

namespace korv::test {
// Runs `action` on the next modal window as soon as it is shown (for code that calls exec()).
void onNextModal(std::function<void(QWidget *)> action);
// Fills in and confirms the log-in window that start-up or 用户登陆 shows next. A log-in with the
// administrator's default password is followed by 修改口令, which is cancelled.
void loginWhenAsked(const QString &name, const QString &password);
// Shows a window on its own and waits until it has the keyboard, as a user's window would.
bool showActive(QWidget *window);
}  // namespace korv::test

#include <QTest>

namespace korv::test {
template <typename Class>
int runTestClass(int argc, char **argv)
{
    Class t;
    return QTest::qExec(&t, argc, argv);
}

// Runs several test classes in one executable; non-zero when any of them failed.
template <typename... Classes>
int runTestClasses(int argc, char **argv)
{
    int status = 0;
    ((status |= runTestClass<Classes>(argc, argv)), ...);
    return status;
}
}  // namespace korv::test

#include "data/Database.h"

#include <QObject>
#include <memory>

namespace korv::test {
// Each test of a derived test class gets a fresh database in a fresh program directory.
class FreshDatabase : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<TempProgramDir> dir;
    std::unique_ptr<Database> db;

private slots:
    void init();
    void cleanup();
};
}  // namespace korv::test
