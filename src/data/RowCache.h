// Rows of one table fetched by rowid, a block at a time, with the most recently used kept.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace korv::rows {

using Cell = std::optional<QString>;
using Row = std::vector<Cell>;
using RowPtr = std::shared_ptr<const Row>;

// Cell text as stored. QString::fromUtf8 drops a leading byte-order mark, which a user may have
// pasted at the start of a value; it stays part of the value.
QString storedText(const char *utf8, qsizetype size);
// The cells of the statement's current result row, from result column `first` on.
Row readRow(sqlite3_stmt *statement, int first, int columns);

// A list that holds only the rowids of its rows reads their contents through this: a row is
// fetched with the block of rows around it in the list, so scrolling and paging read the file
// once per block, and a few thousand rows stay in memory at most.
class RowCache {
public:
    static constexpr int kBlock = 64;
    static constexpr size_t kKeep = 4096;

    RowCache(sqlite3 *db, const QString &table, int columns);

    // The row `keys[index]`, fetched with its block of `keys` when not kept. A row that is no
    // longer in the table reads as all null.
    RowPtr row(const std::vector<qint64> &keys, int index);
    // Keeps `row` as the contents of `rowid` (a row just written and read back).
    void put(qint64 rowid, RowPtr row);
    // Reads rows `first`..`last` of `keys` that are not kept, in one statement.
    void fetch(const std::vector<qint64> &keys, int first, int last);

private:
    struct Entry {
        RowPtr row;
        quint64 used;
    };
    void keep(qint64 rowid, RowPtr row);
    void evict();

    sqlite3 *db_;
    QString table_;
    int columns_;
    RowPtr missing_;
    std::unordered_map<qint64, Entry> rows_;
    quint64 clock_ = 0;
};

}  // namespace korv::rows
