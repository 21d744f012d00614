// Writes that cannot silently miss, start-up on files the program cannot use, backups under
// concurrent writers, and saves that survive kill -9.
#include "common/AppContext.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "masterdata/RecordWindow.h"
#include "shell/Backup.h"
#include "shell/Startup.h"
#include "shell/WorkWindows.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"

#include <sqlcipher/sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <atomic>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korv;

namespace {

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

int rowsOf(Database &db, const QString &table)
{
    return db.scalar("select count(*) from " + table).toInt();
}

std::unique_ptr<Query> openCustomers(Database &db)
{
    auto q = std::make_unique<Query>(db);
    q->setSql("select * from khjbxx order by bh");
    q->Open();
    return q;
}

void addCustomers(Database &db, int count)
{
    Transaction t(db);
    for (int i = 1; i <= count; ++i)
        db.run("insert into khjbxx(bh, khmc, dz) values (?1, ?2, ?3)",
               {QString::asprintf("%06d", i), QString("客户%1").arg(i), QString(200, QChar(0x8857))});
    t.commit();
}

}  // namespace

// A second copy of the program (a second connection) changes rows under an open list.
class TestGuardedWrites : public test::FreshDatabase {
    Q_OBJECT
private slots:
    void aWriteIntoARowGoneOrChangedElsewhereWritesNothing_data()
    {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<bool>("isDelete");
        const QString reuse = "delete from khjbxx where bh='000002'; insert into khjbxx(bh, khmc) values ('000009', '新客户')";
        QTest::newRow("edit, deleted") << "delete from khjbxx where bh='000002'" << false;
        QTest::newRow("edit, rowid reused") << reuse << false;
        QTest::newRow("edit, written column changed") << "update khjbxx set khmc='别人改的' where bh='000002'" << false;
        QTest::newRow("delete, deleted") << "delete from khjbxx where bh='000002'" << true;
        QTest::newRow("delete, rowid reused") << reuse << true;
    }
    void aWriteIntoARowGoneOrChangedElsewhereWritesNothing()
    {
        QFETCH(QString, elsewhere);
        QFETCH(bool, isDelete);
        addCustomers(*db, 2);
        auto list = openCustomers(*db);
        list->Last();
        Database other(dir->dbPath());
        other.exec(elsewhere);
        const QByteArray before = other.scalar("select group_concat(rowid||bh||khmc||ifnull(lxdh,''), '|') from khjbxx").toUtf8();

        try {
            if (isDelete) {
                list->Delete();
            } else {
                list->Edit();
                writeAndPost(*list, [&] {
                    list->setText("khmc", "我改的");
                    list->setText("lxdh", "123");
                });
            }
            QFAIL("the write was reported done");
        } catch (const StaleRecordError &e) {
            QCOMPARE(e.text(), QString(" 该记录已被删除或修改，请重新选取。 "));
        }
        QCOMPARE(other.scalar("select group_concat(rowid||bh||khmc||ifnull(lxdh,''), '|') from khjbxx").toUtf8(), before);
        // The list shows the file as it is now, and is usable.
        QCOMPARE(list->state(), Query::State::Browse);
        QCOMPARE(list->RecordCount(), rowsOf(other, "khjbxx"));
    }

    void aChangeToAnotherColumnElsewhereDoesNotBlockAWrite()
    {
        addCustomers(*db, 1);
        auto list = openCustomers(*db);
        Database(dir->dbPath()).exec("update khjbxx set yb='310000'");
        list->Edit();
        writeAndPost(*list, [&] { list->setText("lxdh", "123"); });
        QCOMPARE(db->scalar("select lxdh || '/' || yb from khjbxx"), QString("123/310000"));
    }

    void theCustomerWindowSaysSoAndReloadsItsList()
    {
        addCustomers(*db, 2);
        AppContext ctx(*db);
        test::ScriptedMessages messages;
        std::unique_ptr<QWidget> w(createWorkWindow(WorkWindowKind::Khxx, ctx, nullptr));
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        test::WindowDriver ui{w.get()};
        ui.click("btnedit");
        ui.clickRow("DBGrid1", 1);
        Database(dir->dbPath()).exec("delete from khjbxx where bh='000002'");
        ui.type("edit3", "13900000000");
        ui.click("btnsave");
        QCOMPARE(messages.texts(), QStringList{" 该记录已被删除或修改，请重新选取。 "});
        QCOMPARE(rowsOf(*db, "khjbxx"), 1);
        QCOMPARE(ui.rowCount("DBGrid1"), 1);
    }

    void aTransactionIsAllOrNothing()
    {
        try {
            Transaction t(*db);
            db->run("insert into bjkc(bh, sl) values ('000001', 5)");
            db->run("insert into bjkc(bh, sl) values ('000001', 6)");  // the unique number refuses it
            t.commit();
        } catch (const DbError &) {
        }
        QCOMPARE(rowsOf(*db, "bjkc"), 0);
        {
            Transaction t(*db);
            db->run("insert into bjkc(bh, sl) values ('000001', 5)");
            t.commit();
        }
        QCOMPARE(rowsOf(*db, "bjkc"), 1);
    }

    void engineFailuresReachTheUserAsOurText()
    {
        addCustomers(*db, 1);
        db->exec("PRAGMA max_page_count = " + db->scalar("PRAGMA page_count"));
        auto list = openCustomers(*db);
        list->Append();
        try {
            writeAndPost(*list, [&] { list->setText("dz", QString(20000, QChar(0x8857))); });
            QFAIL("a write to a full disk was reported done");
        } catch (const DbError &e) {
            QVERIFY2(e.text().startsWith("磁盘空间已满，数据未能写入。"), qPrintable(e.text()));
            QVERIFY2(e.text().contains("database or disk is full"), qPrintable(e.text()));
        }
        QCOMPARE(list->RecordCount(), 1);
        QCOMPARE(rowsOf(*db, "khjbxx"), 1);
    }

    // Whatever a user types or pastes is stored and found again exactly, and never changes what
    // an SQL text means.
    void typedTextIsStoredAndFoundAgainExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("quotes") << "O'Brien \"老王\"";
        QTest::newRow("like signs") << "100% [a]_b\\c";
        QTest::newRow("emoji") << "张三😀";
        QTest::newRow("10,000 characters") << QString(10000, QChar(0x6C49));
        QTest::newRow("NUL") << QString("甲") + QChar(0) + "乙";
        QTest::newRow("leading BOM") << QString(QChar(0xFEFF)) + "张";
    }
    void typedTextIsStoredAndFoundAgainExactly()
    {
        QFETCH(QString, value);
        auto list = openCustomers(*db);
        list->Append();
        writeAndPost(*list, [&] {
            list->setText("bh", "000001");
            list->setText("khmc", value);
        });
        db->run("insert into khjbxx(bh, khmc) values ('000002', '甲')");
        Query q(*db);
        q.setSql("select * from khjbxx where khmc=" + sqlQuote(value));
        q.Open();
        QCOMPARE(q.RecordCount(), 1);
        QCOMPARE(q.asString("khmc"), value);
        QCOMPARE(db->firstValue("select bh from khjbxx where khmc = " + sqlQuote(value)), std::optional<QString>("000001"));
    }
};

// Start-up on a file the program cannot use: a clear text naming the file, nothing created or
// changed.
class TestStartupChecks : public QObject {
    Q_OBJECT

    static void makeFile(const QString &path, const QString &kind)
    {
        if (kind == "empty") {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
        } else if (kind == "plain" || kind == "other key" || kind == "no tables") {
            sqlite3 *raw = nullptr;
            sqlite3_open(QFile::encodeName(path).constData(), &raw);
            if (kind == "other key")
                sqlite3_key(raw, "wrong", 5);
            if (kind == "no tables")
                sqlite3_key(raw, Database::programKey().constData(), int(Database::programKey().size()));
            sqlite3_exec(raw, "create table t(x); insert into t values (1)", nullptr, nullptr, nullptr);
            sqlite3_close(raw);
        } else if (kind == "text") {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray(4096, 'x'));
        }
    }

private slots:
    void aFileThatCannotBeUsedIsRefusedAndLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << "missing" << "找不到数据库文件";
        QTest::newRow("empty") << "empty" << "是空的（0 字节）";
        QTest::newRow("plain sqlite") << "plain" << "不是本系统的数据库（没有加密）";
        QTest::newRow("other key") << "other key" << "不是本系统的数据库，或已损坏、密码不符";
        QTest::newRow("not a database") << "text" << "不是本系统的数据库，或已损坏、密码不符";
        QTest::newRow("not our tables") << "no tables" << "缺少数据表 jjdb";
    }
    void aFileThatCannotBeUsedIsRefusedAndLeftAlone()
    {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString path = dir.path() + "/korv.mdb";
        makeFile(path, kind);
        const QByteArray before = fileHash(path);
        const QStringList entries = QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

        test::ScriptedMessages messages;
        messages.allowErrors();
        Program program(dir.path());
        int endings = 0;
        program.setEndHandler([&endings] { ++endings; });
        QVERIFY(!program.start());
        QCOMPARE(endings, 1);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].kind, MessageKind::Error);
        QVERIFY2(messages.shown[0].text.contains(says), qPrintable(messages.shown[0].text));
        QVERIFY2(messages.shown[0].text.contains(path), qPrintable(messages.shown[0].text));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), entries);
        QCOMPARE(fileHash(path), before);
    }

    // Root writes anywhere, so the check runs in a child that has given up root.
    void aReadOnlyFileOrFolderIsRefused()
    {
        for (const bool folder : {false, true}) {
            test::TempProgramDir dir;
            const auto r = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
            const auto x = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
            const auto w = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
            QFile::setPermissions(dir.path(), folder ? r | x : r | x | QFile::WriteOwner);
            QFile::setPermissions(dir.dbPath(), folder ? r | w : r);
            const pid_t child = fork();
            if (child == 0) {
                if (geteuid() == 0 && setuid(65534) != 0)
                    _exit(3);
                try {
                    Database db(dir.dbPath());
                    _exit(1);
                } catch (const DbError &e) {
                    _exit(e.text().contains(folder ? "的目录" : "是只读的") && e.text().contains(QDir(dir.path()).absolutePath()) ? 0 : 2);
                }
            }
            int status = -1;
            waitpid(child, &status, 0);
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0,
                     qPrintable(QString("read-only %1: child said %2").arg(folder ? "folder" : "file").arg(status)));
        }
    }

    void aPostedRecordIsSyncedThroughARollbackJournal()
    {
        test::TempProgramDir dir;
        Database db(dir.dbPath());
        QCOMPARE(db.scalar("PRAGMA journal_mode"), QString("delete"));
        QCOMPARE(db.scalar("PRAGMA synchronous"), QString("2"));  // FULL
    }
};

// Backups that finish while another copy of the program writes, and that can be given up.
class TestBackupUnderLoad : public test::FreshDatabase {
    Q_OBJECT
private slots:
    void aBackupFinishesWhileAnotherConnectionCommits()
    {
        addCustomers(*db, 6000);  // a few megabytes: many backup steps
        std::atomic<bool> stop{false};
        std::atomic<int> commits{0};
        const QString path = dir->dbPath();
        // Each commit adds one spare part and one tool, so a consistent copy holds as many of each.
        std::thread writer([&] {
            Database other(path);
            for (int i = 1; !stop && i < 100000; ++i) {
                Transaction t(other);
                other.run("insert into bjkc(bh) values (?1)", {QString::number(i)});
                other.run("insert into gjkc(bh) values (?1)", {QString::number(i)});
                t.commit();
                ++commits;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        const QString target = dir->path() + "copy.MDB";
        bool done = false;
        try {
            done = db->backupTo(target);
        } catch (...) {
            stop = true;
            writer.join();
            throw;
        }
        stop = true;
        writer.join();
        QVERIFY(done);
        QVERIFY(commits > 0);
        Database copy(target);
        QCOMPARE(copy.scalar("PRAGMA integrity_check"), QString("ok"));
        QCOMPARE(rowsOf(copy, "khjbxx"), 6000);
        QCOMPARE(rowsOf(copy, "bjkc"), rowsOf(copy, "gjkc"));
    }

    void givingUpLeavesTheDaysEarlierBackup()
    {
        addCustomers(*db, 500);
        const QString target = dir->path() + "KORV_20261209.MDB";
        QFile old(target);
        old.open(QIODevice::WriteOnly);
        old.write("the morning's backup");
        old.close();
        QVERIFY(!db->backupTo(target, [](int, int) { return false; }));
        QCOMPARE(fileHash(target), QCryptographicHash::hash("the morning's backup", QCryptographicHash::Sha1));
        QVERIFY(!QFile::exists(target + ".part"));
        QVERIFY(db->backupTo(target));
        Database copy(target);
        QCOMPARE(rowsOf(copy, "khjbxx"), 500);
    }
};

// A child process saves customers through the Query in a loop and reports each save; it is
// killed with SIGKILL, and every save it reported must be in the file.
class TestKilledWhileSaving : public QObject {
    Q_OBJECT
private slots:
    void everyReportedSaveSurvivesKill9()
    {
        test::TempProgramDir dir;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--save-until-killed", dir.dbPath()});
        QVERIFY(child.waitForStarted());
        QStringList reported;
        QElapsedTimer running;
        running.start();
        while (reported.size() < 300 && running.elapsed() < 20000) {
            child.waitForReadyRead(100);
            while (child.canReadLine())
                reported << QString::fromUtf8(child.readLine()).trimmed();
        }
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished();
        while (child.canReadLine())
            reported << QString::fromUtf8(child.readLine()).trimmed();
        QVERIFY2(reported.size() >= 50, qPrintable(QString("only %1 saves reported").arg(reported.size())));
        Database db(dir.dbPath());
        QCOMPARE(db.scalar("PRAGMA integrity_check"), QString("ok"));
        for (const QString &bh : reported)
            QVERIFY2(db.firstValue("select 1 from khjbxx where bh = ?1", {bh}), qPrintable(bh));
    }
};

int saveUntilKilled(const QString &path)
{
    Database db(path);
    auto list = openCustomers(db);
    for (int i = 1;; ++i) {
        const QString bh = QString::asprintf("%06d", i);
        list->Append();
        writeAndPost(*list, [&] {
            list->setText("bh", bh);
            list->setText("khmc", QString("客户%1").arg(i));
        });
        printf("%s\n", qPrintable(bh));
        fflush(stdout);
    }
}

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--save-until-killed") {
        QCoreApplication app(argc, argv);
        return saveUntilKilled(QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    return test::runTestClasses<TestGuardedWrites, TestStartupChecks, TestBackupUnderLoad, TestKilledWhileSaving>(
        argc, argv);
}

#include "test_integrity.moc"
