// Block fetches of rows by rowid for lists that hold only their keys.
#include "data/RowCache.h"

#include "data/Engine.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>

namespace korv::rows {

QString storedText(const char *utf8, qsizetype size)
{
    if (size >= 3 && utf8[0] == '\xEF' && utf8[1] == '\xBB' && utf8[2] == '\xBF')
        return QChar(0xFEFF) + QString::fromUtf8(utf8 + 3, size - 3);
    return QString::fromUtf8(utf8, size);
}

Row readRow(sqlite3_stmt *s, int first, int columns)
{
    Row cells;
    cells.reserve(size_t(columns));
    for (int c = first; c < first + columns; ++c) {
        if (sqlite3_column_type(s, c) == SQLITE_NULL)
            cells.emplace_back();
        else
            cells.emplace_back(
                storedText(reinterpret_cast<const char *>(sqlite3_column_text(s, c)), sqlite3_column_bytes(s, c)));
    }
    return cells;
}

RowCache::RowCache(sqlite3 *db, const QString &table, int columns)
    : db_(db), table_(table), columns_(columns), missing_(std::make_shared<const Row>(size_t(columns)))
{
}

RowPtr RowCache::row(const std::vector<qint64> &keys, int index)
{
    const qint64 rowid = keys[size_t(index)];
    auto found = rows_.find(rowid);
    if (found == rows_.end()) {
        const int first = index - index % kBlock;
        fetch(keys, first, std::min(int(keys.size()), first + kBlock) - 1);
        found = rows_.find(rowid);
        if (found == rows_.end())
            return missing_;
    }
    found->second.used = ++clock_;
    return found->second.row;
}

void RowCache::put(qint64 rowid, RowPtr row)
{
    keep(rowid, std::move(row));
}

void RowCache::fetch(const std::vector<qint64> &keys, int first, int last)
{
    std::vector<qint64> wanted;
    for (int i = first; i <= last; ++i)
        if (keys[size_t(i)] != 0 && !rows_.count(keys[size_t(i)]))
            wanted.push_back(keys[size_t(i)]);
    if (wanted.empty())
        return;
    QString sql = QStringLiteral("select rowid, * from %1 where rowid in (").arg(table_);
    for (size_t i = 0; i < wanted.size(); ++i)
        sql += i ? QStringLiteral(",?") : QStringLiteral("?");
    sql += QLatin1Char(')');
    engine::Statement stmt(db_, sql);
    for (size_t i = 0; i < wanted.size(); ++i)
        sqlite3_bind_int64(stmt.get(), int(i) + 1, wanted[i]);
    while (stmt.step()) {
        keep(sqlite3_column_int64(stmt.get(), 0), std::make_shared<const Row>(readRow(stmt.get(), 1, columns_)));
        wanted.erase(std::find(wanted.begin(), wanted.end(), sqlite3_column_int64(stmt.get(), 0)));
    }
    // Rows deleted since the list was opened stay in it, empty, until it is opened again.
    for (qint64 gone : wanted)
        keep(gone, missing_);
}

void RowCache::keep(qint64 rowid, RowPtr row)
{
    rows_[rowid] = Entry{std::move(row), ++clock_};
    if (rows_.size() > kKeep)
        evict();
}

// Drops the less recently used half.
void RowCache::evict()
{
    std::vector<quint64> used;
    used.reserve(rows_.size());
    for (const auto &[rowid, entry] : rows_)
        used.push_back(entry.used);
    const auto middle = used.begin() + std::ptrdiff_t(used.size() / 2);
    std::nth_element(used.begin(), middle, used.end());
    const quint64 cut = *middle;
    for (auto it = rows_.begin(); it != rows_.end();)
        it = it->second.used < cut ? rows_.erase(it) : std::next(it);
}

}  // namespace korv::rows
