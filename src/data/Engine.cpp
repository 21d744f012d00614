// Prepared statements and the texts the user sees when the engine refuses a call.
#include "data/Engine.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <vector>

namespace korv::engine {

namespace {
QString whatWentWrong(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("磁盘空间已满，数据未能写入。请腾出磁盘空间后再试。");
    case SQLITE_READONLY:
        return QStringLiteral("数据库文件或其所在目录是只读的，数据未能写入。请检查文件和目录的写入权限。");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库文件正被另一个程序使用，数据未能写入。请稍后再试。");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("数据库文件已损坏，数据未能读写。请用数据备份中的文件替换它。");
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return QStringLiteral("读写数据库文件时出错，数据未能写入。请检查磁盘后再试。");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("该记录与已有记录重复，数据未能写入。");
    default:
        return QStringLiteral("数据库操作失败。");
    }
}
}  // namespace

DbError failure(sqlite3 *db, int rc)
{
    const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
    return DbError(whatWentWrong(rc) + QStringLiteral("\n（") + detail + QStringLiteral("）"));
}

namespace {
struct WaitingWork {
    sqlite3 *db;
    const void *owner;
    std::function<void()> finish;
};
std::vector<WaitingWork> &waitingWork()
{
    static std::vector<WaitingWork> work;
    return work;
}
}  // namespace

void beforeNextWrite(sqlite3 *db, const void *owner, std::function<void()> finish)
{
    withdrawBeforeWrite(owner);
    waitingWork().push_back({db, owner, std::move(finish)});
}

void withdrawBeforeWrite(const void *owner)
{
    auto &work = waitingWork();
    work.erase(std::remove_if(work.begin(), work.end(), [owner](const WaitingWork &w) { return w.owner == owner; }),
               work.end());
}

void settleBeforeWrite(sqlite3 *db)
{
    auto &work = waitingWork();
    for (auto it = std::find_if(work.begin(), work.end(), [db](const WaitingWork &w) { return w.db == db; });
         it != work.end();
         it = std::find_if(work.begin(), work.end(), [db](const WaitingWork &w) { return w.db == db; })) {
        const std::function<void()> finish = std::move(it->finish);
        work.erase(it);
        finish();
    }
}

Statement::Statement(sqlite3 *db, const QString &sql) : db_(db)
{
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK)
        throw failure(db, rc);
    if (!waitingWork().empty() && !sqlite3_stmt_readonly(stmt_)) {
        try {
            settleBeforeWrite(db);
        } catch (...) {
            sqlite3_finalize(stmt_);
            throw;
        }
    }
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

void Statement::bindText(int slot, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    const int rc = sqlite3_bind_text(stmt_, slot, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        throw failure(db_, rc);
}

void Statement::bindTexts(const QStringList &params)
{
    for (int i = 0; i < params.size(); ++i)
        bindText(i + 1, params[i]);
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw failure(db_, sqlite3_extended_errcode(db_));
}

}  // namespace korv::engine
