// Opening the encrypted database, running statements and taking consistent backups.
#include "data/Database.h"

#include "data/Engine.h"

#include <sqlcipher/sqlite3.h>

#include "data/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <unistd.h>

namespace korv {

namespace {
sqlite3 *openKeyed(const QString &path, int flags, const QByteArray &key)
{
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("cannot open");
        sqlite3_close(db);
        throw DbError(QStringLiteral("无法打开数据库文件 %1: %2").arg(path, text));
    }
    if (sqlite3_key(db, key.constData(), key.size()) != SQLITE_OK) {
        QString text = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DbError(text);
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}
}  // namespace

QByteArray Database::programKey()
{
    return QByteArrayLiteral("morvane1984");
}

namespace {
const char kPlainSqliteHeader[] = "SQLite format 3";

QString whatToDo()
{
    return QStringLiteral("请把 DataBak 目录中最近的备份文件复制到程序目录并改名为 korv.mdb，然后重新启动程序。");
}

bool writable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

// What is wrong with the file before the engine is asked to open it; empty when nothing is.
QString fileProblem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("找不到数据库文件 %1。").arg(path) + whatToDo();
    if (!info.isFile())
        return QStringLiteral("%1 不是数据库文件。").arg(path) + whatToDo();
    if (info.size() == 0)
        return QStringLiteral("数据库文件 %1 是空的（0 字节），其中没有任何数据。").arg(path) + whatToDo();
    if (!writable(path))
        return QStringLiteral("数据库文件 %1 是只读的，程序不能保存数据。请去掉该文件的只读属性，"
                              "或把程序目录复制到可以写入的位置后再启动程序。").arg(path);
    if (!writable(info.absolutePath()))
        return QStringLiteral("数据库文件所在的目录 %1 不能写入，程序不能保存数据。请给该目录写入权限，"
                              "或把程序目录复制到可以写入的位置后再启动程序。").arg(info.absolutePath());
    return QString();
}

bool isPlainSqlite(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(sizeof kPlainSqliteHeader - 1) == kPlainSqliteHeader;
}

QStringList missingTables(sqlite3 *db)
{
    QStringList missing;
    for (const TableDef &t : schemaTables()) {
        engine::Statement stmt(db, QStringLiteral("select 1 from sqlite_master where type = 'table' and name = ?1 "
                                                  "collate nocase"));
        stmt.bindText(1, QLatin1String(t.name));
        if (!stmt.step())
            missing << QLatin1String(t.name);
    }
    return missing;
}
}  // namespace

Database::Database(const QString &path, OpenMode mode, const QByteArray &key) : path_(path), key_(key)
{
    if (mode == OpenMode::Existing)
        if (const QString problem = fileProblem(path); !problem.isEmpty())
            throw DbError(problem);
    const int flags = SQLITE_OPEN_READWRITE | (mode == OpenMode::Create ? SQLITE_OPEN_CREATE : 0);
    db_ = openKeyed(path, flags, key);
    try {
        if (mode == OpenMode::Existing)
            checkOurs();
        setDurability();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

// A wrong key or a file of another kind only shows when the first page is read; nothing is
// written before the file has proved to be the shop's database.
void Database::checkOurs()
{
    if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString detail = lastErrorText();
        const QString why = isPlainSqlite(path_)
                                ? QStringLiteral("数据库文件 %1 不是本系统的数据库（没有加密）。").arg(path_)
                                : QStringLiteral("数据库文件 %1 不是本系统的数据库，或已损坏、密码不符，无法打开。").arg(path_);
        throw DbError(why + whatToDo() + QStringLiteral("\n（") + detail + QStringLiteral("）"));
    }
    if (const QStringList missing = missingTables(db_); !missing.isEmpty())
        throw DbError(QStringLiteral("数据库文件 %1 不是本系统的数据库（缺少数据表 %2）。")
                          .arg(path_, missing.join(QStringLiteral("、"))) +
                      whatToDo());
    if (sqlite3_db_readonly(db_, "main") == 1)
        throw DbError(QStringLiteral("数据库文件 %1 只能以只读方式打开，程序不能保存数据。请检查文件和目录的写入权限。")
                          .arg(path_));
}

// A rollback journal beside the file, and every commit synced to the disk before it is
// reported: a posted record survives a crash or a power cut, and at rest the shop's data is
// this one file, which is what a copy of the program directory carries.
void Database::setDurability()
{
    exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    if (scalar(QStringLiteral("PRAGMA journal_mode = DELETE")).compare(QLatin1String("delete"), Qt::CaseInsensitive))
        throw DbError(QStringLiteral("数据库文件 %1 不能使用回滚日志，无法保证数据安全写入。").arg(path_));
    exec(QStringLiteral("PRAGMA synchronous = FULL"));
}

Database::~Database()
{
    sqlite3_close(db_);
}

void Database::exec(const QString &sql)
{
    engine::settleBeforeWrite(db_);
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw engine::failure(db_, sqlite3_extended_errcode(db_));
}

QString Database::scalar(const QString &sql)
{
    return firstValue(sql).value_or(QString());
}

std::optional<QString> Database::firstValue(const QString &sql, const QStringList &params)
{
    engine::Statement stmt(db_, sql);
    stmt.bindTexts(params);
    if (!stmt.step())
        return std::nullopt;
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 0));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt.get(), 0));
}

int Database::run(const QString &sql, const QStringList &params)
{
    engine::Statement stmt(db_, sql);
    stmt.bindTexts(params);
    while (stmt.step()) {
    }
    return sqlite3_changes(db_);
}

QString Database::lastErrorText() const
{
    return QString::fromUtf8(sqlite3_errmsg(db_));
}

namespace {
// Another connection's commit restarts an online backup from its first page; after this many
// restarts the rest is copied in one step under the read lock, which no commit can break.
constexpr int kMaxRestarts = 3;
constexpr int kPagesPerStep = 256;

bool busy(int rc)
{
    return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
}

// Answers whether the copy finished; false when `keepGoing` gave up first.
bool copyPages(sqlite3_backup *backup, const std::function<bool(int, int)> &keepGoing)
{
    int restarts = 0;
    int lastRemaining = -1;
    for (;;) {
        const int rc = sqlite3_backup_step(backup, restarts < kMaxRestarts ? kPagesPerStep : -1);
        if (rc != SQLITE_OK && rc != SQLITE_DONE && !busy(rc))
            return false;
        const int remaining = sqlite3_backup_remaining(backup);
        const int total = sqlite3_backup_pagecount(backup);
        if (rc == SQLITE_OK && lastRemaining >= 0 && remaining > lastRemaining)
            ++restarts;
        if (rc == SQLITE_OK)
            lastRemaining = remaining;
        if (keepGoing && !keepGoing(total - remaining, total))
            return false;
        if (rc == SQLITE_DONE)
            return true;
        if (busy(rc))
            sqlite3_sleep(20);
    }
}

QString checkCopy(const QString &path, const QByteArray &key)
{
    sqlite3 *copy = openKeyed(path, SQLITE_OPEN_READONLY, key);
    QString verdict;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(copy, "PRAGMA quick_check", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        verdict = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    else
        verdict = QString::fromUtf8(sqlite3_errmsg(copy));
    sqlite3_finalize(stmt);
    sqlite3_close(copy);
    return verdict == QLatin1String("ok") ? QString() : verdict;
}
}  // namespace

bool Database::backupTo(const QString &target, const std::function<bool(int, int)> &progress)
{
    // Write beside the target first: the day's earlier backup is replaced only by a complete,
    // checked copy, in one rename.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    sqlite3 *dest = openKeyed(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, key_);
    sqlite3_backup *backup = sqlite3_backup_init(dest, "main", db_, "main");
    if (!backup) {
        const DbError error = engine::failure(dest, sqlite3_errcode(dest));
        sqlite3_close(dest);
        QFile::remove(partial);
        throw error;
    }
    bool abandoned = false;
    const bool copied = copyPages(backup, [&](int done, int total) {
        abandoned = progress && !progress(done, total);
        return !abandoned;
    });
    const int rc = sqlite3_backup_finish(backup);
    const DbError failed = engine::failure(dest, rc == SQLITE_OK ? sqlite3_errcode(dest) : rc);
    sqlite3_close(dest);
    if (abandoned) {
        QFile::remove(partial);
        return false;
    }
    if (!copied || rc != SQLITE_OK) {
        QFile::remove(partial);
        throw failed;
    }
    if (const QString bad = checkCopy(partial, key_); !bad.isEmpty()) {
        QFile::remove(partial);
        throw DbError(QStringLiteral("备份文件检查未通过，原有的备份文件未被改动。\n（") + bad + QStringLiteral("）"));
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(partial);
        throw DbError(QStringLiteral("无法写入备份文件 %1，原有的备份文件未被改动。").arg(target));
    }
    return true;
}

Transaction::Transaction(Database &db) : db_(db)
{
    db_.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    if (open_)
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    db_.exec(QStringLiteral("COMMIT"));
    open_ = false;
}

}  // namespace korv
