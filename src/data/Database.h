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

// An open SQLCipher database. Every write outside an explicit transaction is committed on its
// own, so a posted record survives a crash.
class Database {
public:
    enum class OpenMode { Existing, Create };

    // The key the program's database file is encrypted with.
    static QByteArray programKey();

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
    // The engine's message for the last failed call.
    QString lastErrorText() const;

    // Copies the open database page by page into `target` (replaced if present), encrypted
    // with the same key, as one consistent snapshot. `progress(done, total)` is called between
    // steps and may answer false to give up.
    void backupTo(const QString &target, const std::function<bool(int, int)> &progress = {});

private:
    sqlite3 *db_ = nullptr;
    QString path_;
    QByteArray key_;
};

}  // namespace korv
