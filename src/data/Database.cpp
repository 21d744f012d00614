// Opening the encrypted database, running statements and taking consistent backups.
#include "data/Database.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QFileInfo>

namespace korv {

namespace {
[[noreturn]] void fail(sqlite3 *db, const QString &context = {})
{
    QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
    throw DbError(context.isEmpty() ? text : context + QStringLiteral(": ") + text);
}

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

Database::Database(const QString &path, OpenMode mode, const QByteArray &key) : path_(path), key_(key)
{
    if (mode == OpenMode::Existing && !QFileInfo::exists(path))
        throw DbError(QStringLiteral("找不到数据库文件 %1。").arg(path));
    int flags = SQLITE_OPEN_READWRITE | (mode == OpenMode::Create ? SQLITE_OPEN_CREATE : 0);
    db_ = openKeyed(path, flags, key);
    // A wrong key only shows when the first page is read.
    char *err = nullptr;
    if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err) != SQLITE_OK) {
        QString text = QString::fromUtf8(err ? err : sqlite3_errmsg(db_));
        sqlite3_free(err);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbError(QStringLiteral("无法打开数据库文件 %1: %2").arg(path, text));
    }
    exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
}

Database::~Database()
{
    sqlite3_close(db_);
}

void Database::exec(const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        QString text = QString::fromUtf8(err ? err : sqlite3_errmsg(db_));
        sqlite3_free(err);
        throw DbError(text);
    }
}

QString Database::scalar(const QString &sql)
{
    return firstValue(sql).value_or(QString());
}

std::optional<QString> Database::firstValue(const QString &sql, const QStringList &params)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        fail(db_);
    for (int i = 0; i < params.size(); ++i) {
        const QByteArray bytes = params[i].toUtf8();
        if (sqlite3_bind_text(stmt, i + 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT) != SQLITE_OK) {
            const QString text = lastErrorText();
            sqlite3_finalize(stmt);
            throw DbError(text);
        }
    }
    std::optional<QString> result;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    const QString error = (rc == SQLITE_ROW || rc == SQLITE_DONE) ? QString() : lastErrorText();
    sqlite3_finalize(stmt);
    if (!error.isEmpty())
        throw DbError(error);
    return result;
}

QString Database::lastErrorText() const
{
    return QString::fromUtf8(sqlite3_errmsg(db_));
}

void Database::backupTo(const QString &target, const std::function<bool(int, int)> &progress)
{
    // Write beside the target first so that a failed or abandoned copy never replaces a good one.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    sqlite3 *dest = openKeyed(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, key_);
    sqlite3_backup *backup = sqlite3_backup_init(dest, "main", db_, "main");
    if (!backup) {
        QString text = QString::fromUtf8(sqlite3_errmsg(dest));
        sqlite3_close(dest);
        QFile::remove(partial);
        throw DbError(text);
    }
    int rc = SQLITE_OK;
    bool abandoned = false;
    do {
        rc = sqlite3_backup_step(backup, 256);
        if (progress && (rc == SQLITE_OK || rc == SQLITE_DONE)
            && !progress(sqlite3_backup_pagecount(backup) - sqlite3_backup_remaining(backup),
                         sqlite3_backup_pagecount(backup)))
            abandoned = true;
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(50);
    } while (!abandoned && (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED));
    sqlite3_backup_finish(backup);
    QString text = QString::fromUtf8(sqlite3_errmsg(dest));
    sqlite3_close(dest);
    if (abandoned || rc != SQLITE_DONE) {
        QFile::remove(partial);
        throw DbError(abandoned ? QStringLiteral("备份已取消。") : text);
    }
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        throw DbError(QStringLiteral("无法写入备份文件 %1。").arg(target));
    }
}

}  // namespace korv
