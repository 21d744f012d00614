// Benchmarks' reference reader: raw sqlite3 reading every cell of a list as text, and timing.
#pragma once

#include "data/Database.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QString>
#include <chrono>

namespace korv::bench {

// Wall-clock seconds that `work` takes.
template <typename F>
double secondsOf(F &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The same read with nothing of ours in between: its own keyed connection, every cell's text.
class RawReader {
public:
    RawReader(const QString &path, const char *sql) : sql_(sql)
    {
        const QByteArray key = korv::Database::programKey();
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK
            || sqlite3_key(db_, key.constData(), int(key.size())) != SQLITE_OK
            || sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
            throw korv::DbError(QString::fromUtf8(sqlite3_errmsg(db_)));
        // The statement above derived the page key, which costs as much as reading a small list;
        // the Query's connection has paid it too by the time it opens.
    }
    ~RawReader() { sqlite3_close(db_); }
    RawReader(const RawReader &) = delete;
    RawReader &operator=(const RawReader &) = delete;

    void read()
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql_, -1, &stmt, nullptr) != SQLITE_OK)
            throw korv::DbError(QString::fromUtf8(sqlite3_errmsg(db_)));
        const int columns = sqlite3_column_count(stmt);
        rows = 0;
        bytes = 0;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                const unsigned char *text = sqlite3_column_text(stmt, c);
                const int size = sqlite3_column_bytes(stmt, c);
                bytes += size;
                if (size)
                    touched += text[0] ^ text[size - 1];
            }
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            throw korv::DbError(QString::fromUtf8(sqlite3_errmsg(db_)));
        this->columns = columns;
    }

    int rows = 0;
    int columns = 0;
    qint64 bytes = 0;  // UTF-8 bytes of every cell text
    unsigned touched = 0;

private:
    const char *sql_;
    sqlite3 *db_ = nullptr;
};

}  // namespace korv::bench
