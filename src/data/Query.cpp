// Snapshot row sets: reading, cursor moves, look-ups and immediate writes of single records.
#include "data/Query.h"

#include "data/Database.h"
#include "data/Engine.h"
#include "data/Values.h"

#include <sqlcipher/sqlite3.h>

#include <QRegularExpression>
#include <cstring>
#include <string_view>

namespace korv {

namespace {
constexpr quint32 kChunkBytes = 256 * 1024;
const char *const kRowidAlias = "korv_rowid_";

// Cells are stored back to back: a varint holding length + 1 (0 for null), then the UTF-8 bytes.
inline void putVarint(char *&out, quint32 v)
{
    while (v >= 0x80) {
        *out++ = char((v & 0x7f) | 0x80);
        v >>= 7;
    }
    *out++ = char(v);
}

inline quint32 varintSize(quint32 v)
{
    quint32 n = 1;
    while (v >= 0x80) {
        v >>= 7;
        ++n;
    }
    return n;
}

inline quint32 getVarint(const char *&in)
{
    quint32 v = 0;
    int shift = 0;
    for (;;) {
        const auto b = quint8(*in++);
        v |= quint32(b & 0x7f) << shift;
        if (!(b & 0x80))
            return v;
        shift += 7;
    }
}

// Cell text as stored. QString::fromUtf8 drops a leading byte-order mark, which a user may have
// pasted at the start of a value; it stays part of the value.
QString storedText(const char *utf8, qsizetype size)
{
    if (size >= 3 && utf8[0] == '\xEF' && utf8[1] == '\xBB' && utf8[2] == '\xBF')
        return QChar(0xFEFF) + QString::fromUtf8(utf8 + 3, size - 3);
    return QString::fromUtf8(utf8, size);
}

struct RawCell {
    const char *data;
    quint32 size;
    bool null;
};

// Rewrites "select * from T ..." so that each row carries the rowid it is written back through.
bool splitPlainSelect(const QString &sql, QString *table, QString *rewritten)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*select\s+\*\s+from\s+([A-Za-z_][A-Za-z0-9_]*)(\s.*)?$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = form.match(sql);
    if (!m.hasMatch())
        return false;
    *table = m.captured(1);
    *rewritten = QStringLiteral("select rowid as %1, * from %2%3")
                     .arg(QLatin1String(kRowidAlias), m.captured(1), m.captured(2));
    return true;
}

using engine::Statement;

QString cellError(const QString &text, const QString &column, const char *kind)
{
    return QStringLiteral("“%1”不是字段“%2”可接受的%3。").arg(text, column, QString::fromUtf8(kind));
}
}  // namespace

Query::Query(Database &db, QObject *parent) : QObject(parent), db_(db) {}

Query::~Query() = default;

void Query::Close()
{
    if (state_ == State::Closed)
        return;
    clearRows();
    columns_.clear();
    table_.clear();
    state_ = State::Closed;
    notifyReset();
}

void Query::setSql(const QString &sql)
{
    setSql(QStringList{sql});
}

void Query::setSql(const QStringList &lines)
{
    Close();
    sql_ = lines;
}

void Query::addSqlLine(const QString &line)
{
    Close();
    sql_ << line;
}

void Query::Open()
{
    if (isOpen())
        return;
    const QString sql = sql_.join(QLatin1Char('\n'));
    QString rewritten;
    QString table;
    const bool plain = splitPlainSelect(sql, &table, &rewritten);
    Statement stmt(db_.handle(), plain ? rewritten : sql);
    sqlite3_stmt *s = stmt.get();
    const int first = plain ? 1 : 0;
    std::vector<Column> columns;
    for (int i = first; i < sqlite3_column_count(s); ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(s, i));
        columns.push_back({name, columnType(table, name)});
    }
    clearRows();
    columns_ = std::move(columns);
    table_ = plain ? table : QString();
    try {
        while (stmt.step())
            storeFromStatement(s);
    } catch (...) {
        clearRows();
        columns_.clear();
        table_.clear();
        throw;
    }
    state_ = State::Browse;
    current_ = rows_.empty() ? -1 : 0;
    eof_ = rows_.empty();
    bof_ = true;
    notifyReset();
}

void Query::storeFromStatement(void *statement)
{
    auto *s = static_cast<sqlite3_stmt *>(statement);
    const int first = table_.isEmpty() ? 0 : 1;
    const int n = int(columns_.size());
    RawCell cells[128];
    std::vector<RawCell> many;
    RawCell *raw = cells;
    if (n > 128) {
        many.resize(n);
        raw = many.data();
    }
    quint32 need = 0;
    for (int i = 0; i < n; ++i) {
        const int c = i + first;
        const bool null = sqlite3_column_type(s, c) == SQLITE_NULL;
        const char *text = null ? nullptr : reinterpret_cast<const char *>(sqlite3_column_text(s, c));
        const quint32 size = null ? 0 : quint32(sqlite3_column_bytes(s, c));
        raw[i] = {text, size, null};
        need += varintSize(null ? 0 : size + 1) + size;
    }
    if (chunks_.empty() || chunkUsed_ + need > chunkSize_) {
        chunkSize_ = std::max(need, kChunkBytes);
        chunks_.emplace_back(new char[chunkSize_]);
        chunkUsed_ = 0;
    }
    char *start = chunks_.back().get() + chunkUsed_;
    char *out = start;
    for (int i = 0; i < n; ++i) {
        putVarint(out, raw[i].null ? 0 : raw[i].size + 1);
        if (raw[i].size) {
            std::memcpy(out, raw[i].data, raw[i].size);
            out += raw[i].size;
        }
    }
    const qint64 rowid = first ? sqlite3_column_int64(s, 0) : 0;
    rows_.push_back({rowid, quint32(chunks_.size() - 1), chunkUsed_, need});
    chunkUsed_ += need;
}

Query::RowRef Query::storeRow(qint64 rowid, const std::vector<Cell> &cells)
{
    std::vector<QByteArray> utf8;
    utf8.reserve(cells.size());
    quint32 need = 0;
    for (const Cell &c : cells) {
        utf8.push_back(c ? c->toUtf8() : QByteArray());
        need += varintSize(c ? quint32(utf8.back().size()) + 1 : 0) + quint32(utf8.back().size());
    }
    if (chunks_.empty() || chunkUsed_ + need > chunkSize_) {
        chunkSize_ = std::max(need, kChunkBytes);
        chunks_.emplace_back(new char[chunkSize_]);
        chunkUsed_ = 0;
    }
    char *out = chunks_.back().get() + chunkUsed_;
    for (size_t i = 0; i < cells.size(); ++i) {
        putVarint(out, cells[i] ? quint32(utf8[i].size()) + 1 : 0);
        std::memcpy(out, utf8[i].constData(), size_t(utf8[i].size()));
        out += utf8[i].size();
    }
    const RowRef ref{rowid, quint32(chunks_.size() - 1), chunkUsed_, need};
    chunkUsed_ += need;
    return ref;
}

Query::Cell Query::storedCell(int row, int column) const
{
    const RowRef &ref = rows_[size_t(row)];
    const char *p = chunks_[ref.chunk].get() + ref.offset;
    for (int i = 0;; ++i) {
        const quint32 tag = getVarint(p);
        const quint32 size = tag ? tag - 1 : 0;
        if (i == column)
            return tag ? Cell(storedText(p, qsizetype(size))) : Cell();
        p += size;
    }
}

std::vector<Query::Cell> Query::decodeRow(int row) const
{
    std::vector<Cell> cells;
    cells.reserve(columns_.size());
    const RowRef &ref = rows_[size_t(row)];
    const char *p = chunks_[ref.chunk].get() + ref.offset;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const quint32 tag = getVarint(p);
        const quint32 size = tag ? tag - 1 : 0;
        cells.push_back(tag ? Cell(storedText(p, qsizetype(size))) : Cell());
        p += size;
    }
    return cells;
}

void Query::clearRows()
{
    rows_.clear();
    rows_.shrink_to_fit();
    chunks_.clear();
    chunkUsed_ = chunkSize_ = 0;
    current_ = -1;
    eof_ = bof_ = true;
    buffer_.clear();
    dirty_.clear();
}

void Query::requireOpen() const
{
    if (state_ == State::Closed)
        throw DbError(QStringLiteral("数据集未打开，不能执行此操作。"));
}

void Query::requireWritable() const
{
    if (table_.isEmpty())
        throw DbError(QStringLiteral("此数据集为只读，不能修改。"));
}

int Query::requireColumn(const QString &name) const
{
    requireOpen();
    const int index = columnIndex(name);
    if (index < 0)
        throw DbError(QStringLiteral("找不到字段“%1”。").arg(name));
    return index;
}

void Query::requireEditing(const QString &column) const
{
    if (state_ != State::Edit && state_ != State::Insert)
        throw DbError(QStringLiteral("数据集不在编辑或插入状态，不能写入字段“%1”。").arg(column));
}

// Moving away from a record that is being edited writes it first.
void Query::checkBrowseMode()
{
    requireOpen();
    if (state_ == State::Edit || state_ == State::Insert)
        Post();
}

int Query::columnIndex(const QString &name) const
{
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString Query::columnName(int index) const
{
    return columns_.at(size_t(index)).name;
}

void Query::setCurrent(int row, bool eof)
{
    const int before = current_;
    current_ = row;
    eof_ = eof || rows_.empty();
    bof_ = rows_.empty() || (row == 0 && !eof);
    if (before != current_ && !controlsDisabled())
        emit currentChanged(current_);
}

void Query::First()
{
    checkBrowseMode();
    setCurrent(rows_.empty() ? -1 : 0);
    bof_ = true;
}

void Query::Last()
{
    checkBrowseMode();
    setCurrent(int(rows_.size()) - 1);
}

void Query::Next()
{
    checkBrowseMode();
    if (current_ + 1 < int(rows_.size()))
        setCurrent(current_ + 1);
    else
        eof_ = true;
}

void Query::Prior()
{
    checkBrowseMode();
    if (current_ > 0)
        setCurrent(current_ - 1);
    else
        bof_ = true;
}

void Query::moveTo(int row)
{
    checkBrowseMode();
    if (row >= 0 && row < int(rows_.size()))
        setCurrent(row);
}

bool Query::Eof() const
{
    return state_ == State::Closed || eof_;
}

bool Query::Bof() const
{
    return state_ == State::Closed || bof_;
}

int Query::RecordCount() const
{
    return int(rows_.size());
}

bool Query::Locate(const QString &column, const QString &value, LocateOption option)
{
    return Locate(column, QStringList{value}, option);
}

bool Query::Locate(const QString &columns, const QStringList &values, LocateOption option)
{
    checkBrowseMode();
    const QStringList names = columns.split(QLatin1Char(';'));
    if (names.size() != values.size())
        throw DbError(QStringLiteral("查找的字段数与值的个数不一致。"));
    std::vector<int> indexes;
    for (const QString &n : names)
        indexes.push_back(requireColumn(n.trimmed()));
    const Qt::CaseSensitivity cs =
        option == LocateOption::CaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int row = 0; row < int(rows_.size()); ++row) {
        bool all = true;
        for (size_t k = 0; k < indexes.size() && all; ++k)
            all = storedCell(row, indexes[k]).value_or(QString()).compare(values[qsizetype(k)], cs) == 0;
        if (all) {
            setCurrent(row);
            return true;
        }
    }
    return false;
}

void Query::Append()
{
    checkBrowseMode();
    requireWritable();
    buffer_.assign(columns_.size(), Cell());
    dirty_.assign(columns_.size(), false);
    rows_.push_back(storeRow(0, buffer_));
    state_ = State::Insert;
    const int row = int(rows_.size()) - 1;
    if (!controlsDisabled())
        emit rowInserted(row);
    setCurrent(row);
}

void Query::Edit()
{
    requireOpen();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    if (rows_.empty()) {
        Append();
        return;
    }
    requireWritable();
    buffer_ = decodeRow(current_);
    dirty_.assign(columns_.size(), false);
    state_ = State::Edit;
}

namespace {
// Binds a cell as the engine should compare or store it in a column of `type`.
void bindCell(sqlite3_stmt *s, int slot, const std::optional<QString> &c, ColumnType type)
{
    if (!c) {
        sqlite3_bind_null(s, slot);
        return;
    }
    if (isWholeNumberType(type))
        if (const auto v = parseWholeNumber(*c)) {
            sqlite3_bind_int64(s, slot, *v);
            return;
        }
    const QByteArray utf8 = c->toUtf8();
    sqlite3_bind_text(s, slot, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}
}  // namespace

// The columns a write of the current record checks: its key (the table's first column) and
// every column it writes must still hold what was loaded, as an optimistic update does.
std::vector<int> Query::guardColumns() const
{
    std::vector<int> guard{0};
    for (size_t i = 1; i < columns_.size(); ++i)
        if (dirty_.empty() || dirty_[i])
            guard.push_back(int(i));
    if (dirty_.empty())
        guard.resize(1);
    return guard;
}

QString Query::guardClause(const std::vector<int> &guard) const
{
    QString where = QStringLiteral(" where rowid = ?");
    for (int i : guard)
        where += QStringLiteral(" and \"%1\" is ? collate binary").arg(columns_[size_t(i)].name);
    return where;
}

void Query::bindGuard(void *statement, int slot, const std::vector<int> &guard) const
{
    auto *s = static_cast<sqlite3_stmt *>(statement);
    sqlite3_bind_int64(s, slot++, rows_[size_t(current_)].rowid);
    for (int i : guard)
        bindCell(s, slot++, storedCell(current_, i), columns_[size_t(i)].type);
}

qint64 Query::writeRecord()
{
    QStringList names;
    std::vector<int> written;
    for (size_t i = 0; i < columns_.size(); ++i)
        if (dirty_[i]) {
            names << QLatin1Char('"') + columns_[i].name + QLatin1Char('"');
            written.push_back(int(i));
        }
    const qint64 rowid = rows_[size_t(current_)].rowid;
    QString sql;
    std::vector<int> guard;
    if (state_ == State::Insert) {
        sql = names.isEmpty()
                  ? QStringLiteral("insert into %1 default values").arg(table_)
                  : QStringLiteral("insert into %1 (%2) values (%3)")
                        .arg(table_, names.join(QStringLiteral(", ")),
                             QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    } else {
        if (names.isEmpty())
            return rowid;
        guard = guardColumns();
        sql = QStringLiteral("update %1 set %2 = ?").arg(table_, names.join(QStringLiteral(" = ?, "))) +
              guardClause(guard);
    }
    Statement stmt(db_.handle(), sql);
    sqlite3_stmt *s = stmt.get();
    int slot = 1;
    for (int i : written)
        bindCell(s, slot++, buffer_[size_t(i)], columns_[size_t(i)].type);
    if (state_ == State::Edit)
        bindGuard(s, slot, guard);
    stmt.step();
    if (sqlite3_changes(db_.handle()) != 1)
        staleRecord();
    return state_ == State::Insert ? sqlite3_last_insert_rowid(db_.handle()) : rowid;
}

// The record was gone or changed in the file: drop the edit, show the list as the file holds
// it now, and tell the caller that nothing was written.
void Query::staleRecord()
{
    const qint64 rowid = current_ >= 0 ? rows_[size_t(current_)].rowid : 0;
    const int row = current_;
    state_ = State::Browse;
    buffer_.clear();
    dirty_.clear();
    reopenAt(rowid, row);
    throw StaleRecordError();
}

void Query::reopenAt(qint64 rowid, int row)
{
    Close();
    Open();
    for (int r = 0; r < int(rows_.size()); ++r)
        if (rows_[size_t(r)].rowid == rowid) {
            setCurrent(r);
            return;
        }
    if (!rows_.empty())
        setCurrent(std::clamp(row, 0, int(rows_.size()) - 1));
}

// After a write the row is read back, so defaults and stored forms show as the file holds them.
void Query::rereadRow(int row, qint64 rowid)
{
    Statement stmt(db_.handle(), QStringLiteral("select rowid as %1, * from %2 where rowid = %3")
                                     .arg(QLatin1String(kRowidAlias), table_)
                                     .arg(rowid));
    if (!stmt.step()) {
        rows_[size_t(row)] = storeRow(rowid, buffer_);
        return;
    }
    std::vector<Cell> cells;
    sqlite3_stmt *s = stmt.get();
    for (size_t i = 0; i < columns_.size(); ++i) {
        const int c = int(i) + 1;
        if (sqlite3_column_type(s, c) == SQLITE_NULL)
            cells.emplace_back();
        else
            cells.emplace_back(storedText(reinterpret_cast<const char *>(sqlite3_column_text(s, c)),
                                          sqlite3_column_bytes(s, c)));
    }
    rows_[size_t(row)] = storeRow(rowid, cells);
}

void Query::Post()
{
    requireOpen();
    if (state_ == State::Browse)
        return;
    const qint64 rowid = writeRecord();
    rereadRow(current_, rowid);
    state_ = State::Browse;
    buffer_.clear();
    dirty_.clear();
    if (!controlsDisabled())
        emit rowChanged(current_);
}

void Query::Cancel()
{
    if (state_ == State::Insert) {
        state_ = State::Browse;
        buffer_.clear();
        removeRow(current_);
    } else if (state_ == State::Edit) {
        state_ = State::Browse;
        buffer_.clear();
        if (!controlsDisabled())
            emit rowChanged(current_);
    }
}

void Query::Delete()
{
    requireOpen();
    if (state_ == State::Insert) {
        Cancel();
        return;
    }
    if (rows_.empty())
        throw DbError(QStringLiteral("不能在空数据集上执行删除操作。"));
    requireWritable();
    const int row = current_;
    dirty_.clear();
    const std::vector<int> guard = guardColumns();
    Statement stmt(db_.handle(), QStringLiteral("delete from %1").arg(table_) + guardClause(guard));
    bindGuard(stmt.get(), 1, guard);
    stmt.step();
    if (sqlite3_changes(db_.handle()) != 1)
        staleRecord();
    state_ = State::Browse;
    buffer_.clear();
    removeRow(row);
}

// Drops a row from the snapshot; the row after it, or the new last row, becomes current.
void Query::removeRow(int row)
{
    rows_.erase(rows_.begin() + row);
    current_ = -1;
    if (!controlsDisabled())
        emit rowRemoved(row);
    const int next = std::min(row, int(rows_.size()) - 1);
    setCurrent(next);
    if (next < 0 && !controlsDisabled())
        emit currentChanged(-1);
}

Query::Cell Query::currentCell(int column) const
{
    if (state_ == State::Edit || state_ == State::Insert)
        return buffer_[size_t(column)];
    if (current_ < 0)
        return Cell();
    return storedCell(current_, column);
}

QString Query::asString(const QString &column) const
{
    return currentCell(requireColumn(column)).value_or(QString());
}

qint64 Query::asInteger(const QString &column) const
{
    const Cell c = currentCell(requireColumn(column));
    if (!c || c->trimmed().isEmpty())
        return 0;
    if (const auto v = parseWholeNumber(*c))
        return *v;
    throw DbError(cellError(*c, column, "整数值"));
}

QVariant Query::value(const QString &column) const
{
    const int index = requireColumn(column);
    const Cell c = currentCell(index);
    if (!c)
        return QVariant();
    if (isWholeNumberType(columns_[size_t(index)].type))
        return QVariant(c->toLongLong());
    return QVariant(*c);
}

bool Query::isNull(const QString &column) const
{
    return !currentCell(requireColumn(column)).has_value();
}

QString Query::cellText(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= int(columns_.size()))
        return QString();
    if (row == current_ && (state_ == State::Edit || state_ == State::Insert))
        return buffer_[size_t(column)].value_or(QString());
    return storedCell(row, column).value_or(QString());
}

namespace {
// Interim reader: a copy of every cell text.
class CopiedRows : public RowReader {
public:
    std::vector<QString> names;
    std::vector<std::vector<QString>> rows;
    int count() const override { return int(rows.size()); }
    int columnCount() const override { return int(names.size()); }
    int columnIndex(const QString &name) const override
    {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i].compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    }
    QString text(int row, int column) const override
    {
        if (row < 0 || row >= count() || column < 0 || column >= columnCount())
            return QString();
        return rows[size_t(row)][size_t(column)];
    }
};
}  // namespace

std::shared_ptr<const RowReader> Query::rowReader() const
{
    auto copy = std::make_shared<CopiedRows>();
    for (const Column &c : columns_)
        copy->names.push_back(c.name);
    for (int r = 0; r < RecordCount(); ++r) {
        std::vector<QString> row;
        for (int c = 0; c < columnCount(); ++c)
            row.push_back(cellText(r, c));
        copy->rows.push_back(std::move(row));
    }
    return copy;
}

void Query::setCell(int column, Cell value)
{
    buffer_[size_t(column)] = std::move(value);
    dirty_[size_t(column)] = true;
    if (!controlsDisabled())
        emit rowChanged(current_);
}

void Query::setText(const QString &column, const QString &text)
{
    const int index = requireColumn(column);
    requireEditing(column);
    switch (columns_[size_t(index)].type) {
    case ColumnType::Integer:
    case ColumnType::Flag: {
        if (text.trimmed().isEmpty())
            return setCell(index, Cell());
        const auto v = parseWholeNumber(text);
        if (!v)
            throw DbError(cellError(text, column, "整数值"));
        return setCell(index, QString::number(*v));
    }
    case ColumnType::DateTime: {
        if (text.trimmed().isEmpty())
            return setCell(index, Cell());
        const auto v = parseDateTime(text);
        if (!v)
            throw DbError(cellError(text, column, "日期时间值"));
        return setCell(index, storedDateTimeText(*v));
    }
    case ColumnType::Text:
    case ColumnType::Money:
        return setCell(index, text);
    }
}

void Query::setInteger(const QString &column, qint64 value)
{
    const int index = requireColumn(column);
    requireEditing(column);
    if (columns_[size_t(index)].type == ColumnType::DateTime)
        throw DbError(cellError(QString::number(value), column, "日期时间值"));
    setCell(index, QString::number(value));
}

void Query::setDateTime(const QString &column, const QDateTime &value)
{
    const int index = requireColumn(column);
    requireEditing(column);
    if (isWholeNumberType(columns_[size_t(index)].type))
        throw DbError(cellError(dateTimeText(value), column, "整数值"));
    if (!value.isValid())
        return setCell(index, Cell());
    setCell(index, columns_[size_t(index)].type == ColumnType::DateTime ? storedDateTimeText(value)
                                                                        : dateTimeText(value));
}

void Query::DisableControls()
{
    ++disableCount_;
}

void Query::EnableControls()
{
    if (disableCount_ > 0 && --disableCount_ == 0)
        notifyReset();
}

void Query::notifyReset()
{
    if (controlsDisabled())
        return;
    emit rowsReset();
    emit currentChanged(current_);
}

void writeAndPost(Query &query, const std::function<void()> &writes)
{
    try {
        writes();
        query.Post();
    } catch (...) {
        query.Cancel();
        throw;
    }
}

}  // namespace korv
