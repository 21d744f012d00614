// Statements and engine failures as the data layer hands them on; not for windows.
#pragma once

#include "data/Database.h"

#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

namespace korv::engine {

// The failure of the last call on `db` with result code `rc`: a text of ours saying what went
// wrong and what to do, with the engine's own text as detail.
DbError failure(sqlite3 *db, int rc);

// One prepared statement. The SQL text reaches the engine with its length, so a NUL in it
// never cuts it short.
class Statement {
public:
    Statement(sqlite3 *db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    sqlite3_stmt *get() const { return stmt_; }
    void bindText(int slot, const QString &text);
    void bindTexts(const QStringList &params);  // to ?1, ?2, ...
    // True while there is a row; false when done; a failure throws.
    bool step();

private:
    sqlite3 *db_;
    sqlite3_stmt *stmt_ = nullptr;
};

}  // namespace korv::engine
