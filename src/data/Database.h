// The one encrypted connection to the shop's database file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>

struct sqlite3;

namespace korv {

// Any failure of the engine or of a query operation; its text is shown to the user as is.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromUtf8(what()); }
};

// A write that found its record deleted or changed behind the window's back (another copy of
// the program, another window): nothing was written. The user is told, not shown an error.
class StaleRecordError : public DbError {
public:
    StaleRecordError() : DbError(message()) {}
    static QString message() { return QStringLiteral(" 该记录已被删除或修改，请重新选取。 "); }
};

// An open SQLCipher database. Every write outside an explicit transaction is committed on its
// own, so a posted record survives a crash.
class Database {
public:
    enum class OpenMode { Existing, Create };

    // The key the program's database file is encrypted with.
    static QByteArray programKey();

    // An existing file is checked before anything is written to it: missing, empty, read-only,
    // not ours or the wrong key each fail with a text that names the file and what to do.
    explicit Database(const QString &path, OpenMode mode = OpenMode::Existing,
                      const QByteArray &key = programKey());
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    sqlite3 *handle() const { return db_; }
    QString path() const { return path_; }

    void exec(const QString &sql);
    // The first column of the first row of `sql`, or an empty string when there is none.
    QString scalar(const QString &sql);
    // The same with `params` bound to ?1, ?2, ...; nullopt when there is no row, so that an
    // empty table and an empty value stay apart.
    std::optional<QString> firstValue(const QString &sql, const QStringList &params = {});
    // Runs one statement with `params` bound to ?1, ?2, ...; answers how many rows it changed.
    int run(const QString &sql, const QStringList &params = {});
    // The engine's message for the last failed call.
    QString lastErrorText() const;

    // Copies the open database page by page into `target`, encrypted with the same key, as one
    // consistent snapshot, even while other connections commit. `progress(done, total)` is
    // called between steps and may answer false to give up: then the answer is false and
    // `target` is as it was. A present `target` is replaced only by a complete, checked copy.
    bool backupTo(const QString &target, const std::function<bool(int, int)> &progress = {});

private:
    void checkOurs();
    void setDurability();

    sqlite3 *db_ = nullptr;
    QString path_;
    QByteArray key_;
};

// Several statements that stand or fall together: BEGIN IMMEDIATE when made, COMMIT by
// commit(), ROLLBACK when it goes away uncommitted (a failure thrown half-way).
class Transaction {
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &db_;
    bool open_ = true;
};

}  // namespace korv
