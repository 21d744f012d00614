// Statements and engine failures as the data layer hands them on; not for windows.
#pragma once

#include "data/Database.h"

#include <QString>
#include <QStringList>
#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace korv::engine {

// The failure of the last call on `db` with result code `rc`: a text of ours saying what went
// wrong and what to do, with the engine's own text as detail.
DbError failure(sqlite3 *db, int rc);

// Work to finish on connection `db` before anything is written through it: a list still reading
// its keys must have them all before a write can change which rows it would read. `owner` names
// the work so that it can be withdrawn; it runs at most once.
void beforeNextWrite(sqlite3 *db, const void *owner, std::function<void()> finish);
void withdrawBeforeWrite(const void *owner);
// Runs the work waiting on `db` (the start of a write that does not go through Statement).
void settleBeforeWrite(sqlite3 *db);

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
