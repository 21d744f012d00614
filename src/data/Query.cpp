// Lists over SQL texts: reading, cursor moves, look-ups and immediate writes of single records.
#include "data/Query.h"

#include "data/Database.h"
#include "data/Engine.h"
#include "data/Values.h"

#include <sqlcipher/sqlite3.h>

#include <QRegularExpression>
#include <QTimer>
#include <optional>
#include <algorithm>
#include <unordered_set>

namespace korv {

namespace {
const char *const kRowidAlias = "korv_rowid_";
// Rowids read when a list opens, and in each background slice after it (a few milliseconds).
constexpr size_t kFirstKeys = 16384;
constexpr size_t kKeySlice = 32768;
constexpr int kFirstSliceDelayMs = 30;
// Rows fetched when a keyed list opens: the first screens hold what they showed at opening.
constexpr int kFirstRows = 256;

using engine::Statement;
using rows::readRow;

// "select * from T rest": the table and the rest, or false for any other text.
bool splitPlainSelect(const QString &sql, QString *table, QString *rest)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*select\s+\*\s+from\s+([A-Za-z_][A-Za-z0-9_]*)(\s.*)?$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = form.match(sql);
    if (!m.hasMatch())
        return false;
    *table = m.captured(1);
    *rest = m.captured(2);
    return true;
}

// Whether "select rowid from T rest" names the same rows in the same order as the list: a
// filter and an order over the one table, with nothing that joins, groups or merges rows.
bool keyable(const QString &rest)
{
    static const QRegularExpression merging(
        QStringLiteral(R"(^\s*,|\b(join|group|having|union|intersect|except|distinct|window)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return !merging.match(rest).hasMatch();
}

// How "select rowid from T" must be told to walk the table so that it meets the rows in the
// order "select * from T rest" would: the index that plan walks, or the table itself. Without
// it the engine prefers the smallest covering index and the rows of a list without an order
// clause would come in another order. nullopt when the plan is not one walk of one table.
std::optional<QString> sameWalk(sqlite3 *db, const QString &table, const QString &rest)
{
    Statement plan(db, QStringLiteral("explain query plan select * from %1%2").arg(table, rest));
    const QString scan = QStringLiteral("SCAN TABLE ") + table;
    const QString search = QStringLiteral("SEARCH TABLE ") + table;
    while (plan.step()) {
        if (sqlite3_column_int(plan.get(), 0) != 0)
            continue;
        const QString detail = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(plan.get(), 3)));
        // The plan names the table as the schema spells it, the text may spell it otherwise.
        const auto names = [&detail](const QString &walk) {
            return detail.compare(walk, Qt::CaseInsensitive) == 0 ||
                   detail.startsWith(walk + QLatin1Char(' '), Qt::CaseInsensitive);
        };
        if (!names(scan) && !names(search))
            continue;
        static const QRegularExpression index(QStringLiteral(R"( USING (?:COVERING )?INDEX (\S+))"));
        const QRegularExpressionMatch m = index.match(detail);
        if (m.hasMatch())
            return QStringLiteral(" indexed by \"%1\"").arg(m.captured(1));
        if (detail.contains(QLatin1String(" USING ")) && !detail.contains(QLatin1String("INTEGER PRIMARY KEY")))
            return std::nullopt;  // an automatic index or several indexes joined
        return QStringLiteral(" not indexed");
    }
    return std::nullopt;
}

// Whether a column's stored values read as they are compared: text affinity keeps them text.
bool hasTextAffinity(const char *declared)
{
    const QByteArray type = QByteArray(declared ? declared : "").toUpper();
    return !type.contains("INT") && (type.contains("CHAR") || type.contains("CLOB") || type.contains("TEXT"));
}

QString cellError(const QString &text, const QString &column, const char *kind)
{
    return QStringLiteral("“%1”不是字段“%2”可接受的%3。").arg(text, column, QString::fromUtf8(kind));
}

// korv_fold(x): x case-folded, for look-ups that ignore case as the list's own comparison does.
void foldFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray folded = rows::storedText(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])),
                                               sqlite3_value_bytes(argv[0]))
                                  .toCaseFolded()
                                  .toUtf8();
    sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

// The first position in `keys` holding one of `wanted`, -1 when none does.
int firstPosition(const std::vector<qint64> &keys, const std::vector<qint64> &wanted)
{
    if (wanted.size() <= 8) {
        for (size_t i = 0; i < keys.size(); ++i)
            for (qint64 w : wanted)
                if (keys[i] == w)
                    return int(i);
        return -1;
    }
    const std::unordered_set<qint64> set(wanted.begin(), wanted.end());
    for (size_t i = 0; i < keys.size(); ++i)
        if (set.count(keys[i]))
            return int(i);
    return -1;
}

// The rows of a keyed list as they stood: their rowids, fetched by block on demand.
class KeyedRows : public RowReader {
public:
    KeyedRows(sqlite3 *db, const QString &table, std::vector<QString> names, std::vector<qint64> keys)
        : names_(std::move(names)), keys_(std::move(keys)), cache_(db, table, int(names_.size()))
    {
    }
    int count() const override { return int(keys_.size()); }
    int columnCount() const override { return int(names_.size()); }
    int columnIndex(const QString &name) const override { return indexOf(names_, name); }
    QString text(int row, int column) const override
    {
        if (row < 0 || row >= count() || column < 0 || column >= columnCount())
            return QString();
        return cache_.row(keys_, row)->at(size_t(column)).value_or(QString());
    }
    static int indexOf(const std::vector<QString> &names, const QString &name)
    {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i].compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    }

private:
    std::vector<QString> names_;
    std::vector<qint64> keys_;
    mutable rows::RowCache cache_;
};

// The rows of a list read whole, shared with the list they came from.
class HeldRows : public RowReader {
public:
    HeldRows(std::vector<QString> names, std::vector<std::shared_ptr<const rows::Row>> rows)
        : names_(std::move(names)), rows_(std::move(rows))
    {
    }
    int count() const override { return int(rows_.size()); }
    int columnCount() const override { return int(names_.size()); }
    int columnIndex(const QString &name) const override { return KeyedRows::indexOf(names_, name); }
    QString text(int row, int column) const override
    {
        if (row < 0 || row >= count() || column < 0 || column >= columnCount())
            return QString();
        return rows_[size_t(row)]->at(size_t(column)).value_or(QString());
    }

private:
    std::vector<QString> names_;
    std::vector<std::shared_ptr<const rows::Row>> rows_;
};
}  // namespace

// A keyed list's rowids in list order, read a slice at a time.
struct Query::KeyScan {
    KeyScan(sqlite3 *db, const QString &sql) : statement(db, sql) {}
    Statement statement;
};

Query::Query(Database &db, QObject *parent) : QObject(parent), db_(db) {}

Query::~Query()
{
    stopKeys();
}

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
    QString table;
    QString rest;
    const bool plain = splitPlainSelect(sql, &table, &rest);
    clearRows();
    try {
        const std::optional<QString> walk =
            plain && keyable(rest) ? sameWalk(db_.handle(), table, rest) : std::nullopt;
        if (walk)
            openKeyed(table, *walk, rest);
        else
            openWhole(sql, plain ? table : QString(), rest);
    } catch (...) {
        clearRows();
        columns_.clear();
        table_.clear();
        throw;
    }
    state_ = State::Browse;
    eof_ = keys_.empty();
    bof_ = true;
    current_ = -1;
    setCurrent(keys_.empty() ? -1 : 0);
    notifyReset();
}

namespace {
std::vector<std::pair<QString, bool>> resultColumns(sqlite3_stmt *s, int first)
{
    std::vector<std::pair<QString, bool>> names;
    for (int i = first; i < sqlite3_column_count(s); ++i)
        names.emplace_back(QString::fromUtf8(sqlite3_column_name(s, i)), hasTextAffinity(sqlite3_column_decltype(s, i)));
    return names;
}
}  // namespace

// Reads the first rowids and the rows of the first screens; the other rowids follow in the
// background.
void Query::openKeyed(const QString &table, const QString &walk, const QString &rest)
{
    {
        Statement shape(db_.handle(),
                        QStringLiteral("select rowid as %1, * from %2%3").arg(QLatin1String(kRowidAlias), table, rest));
        for (const auto &[name, text] : resultColumns(shape.get(), 1))
            columns_.push_back({name, columnType(table, name), text});
    }
    table_ = table;
    pendingKeys_ =
        std::make_unique<KeyScan>(db_.handle(), QStringLiteral("select rowid from %1%2%3").arg(table, walk, rest));
    cache_ = std::make_unique<rows::RowCache>(db_.handle(), table, int(columns_.size()));
    readKeys(kFirstKeys);
    if (!keys_.empty())
        cache_->fetch(keys_, 0, std::min(int(keys_.size()), kFirstRows) - 1);
    if (!pendingKeys_)
        return;
    engine::beforeNextWrite(db_.handle(), this, [this] { finishKeys(); });
    // The window that opened the list paints its first screen before the rest is read.
    const int chain = ++keyChain_;
    QTimer::singleShot(kFirstSliceDelayMs, this, [this, chain] {
        if (chain == keyChain_)
            readKeysInBackground();
    });
}

// Reads every row now; a plain select of one table keeps the rowids it writes back through.
void Query::openWhole(const QString &sql, const QString &table, const QString &rest)
{
    const int first = table.isEmpty() ? 0 : 1;
    const QString text =
        table.isEmpty() ? sql : QStringLiteral("select rowid as %1, * from %2%3").arg(QLatin1String(kRowidAlias), table, rest);
    Statement stmt(db_.handle(), text);
    sqlite3_stmt *s = stmt.get();
    for (const auto &[name, affinity] : resultColumns(s, first))
        columns_.push_back({name, columnType(table, name), affinity});
    table_ = table;
    while (stmt.step()) {
        keys_.push_back(first ? sqlite3_column_int64(s, 0) : 0);
        held_.push_back(std::make_shared<const Row>(readRow(s, first, int(columns_.size()))));
    }
}

// Reads rowids until `wanted` are known or none are left; answers whether more are left.
bool Query::readKeys(size_t wanted) const
{
    if (!keyError_.isEmpty())
        throw DbError(keyError_);
    while (pendingKeys_ && keys_.size() < wanted) {
        if (pendingKeys_->statement.step()) {
            keys_.push_back(sqlite3_column_int64(pendingKeys_->statement.get(), 0));
        } else {
            stopKeys();
            keys_.shrink_to_fit();
        }
    }
    return pendingKeys_ != nullptr;
}

// Every rowid, now; the bound list hears of the rows it had not been told about.
void Query::finishKeys() const
{
    if (!pendingKeys_ && keyError_.isEmpty())
        return;
    const int before = int(keys_.size());
    readKeys(std::numeric_limits<size_t>::max());
    auto *self = const_cast<Query *>(this);
    if (int(keys_.size()) > before && !controlsDisabled())
        emit self->rowsLoaded(before, int(keys_.size()) - 1);
}

void Query::readKeysInBackground()
{
    if (!pendingKeys_)
        return;
    const int before = int(keys_.size());
    try {
        readKeys(keys_.size() + kKeySlice);
    } catch (const DbError &e) {
        // Nobody is waiting for this slice: whatever needs the whole list next says why it failed.
        stopKeys();
        keyError_ = e.text();
        return;
    }
    if (int(keys_.size()) > before && !controlsDisabled())
        emit rowsLoaded(before, int(keys_.size()) - 1);
    if (!pendingKeys_)
        return;
    const int chain = keyChain_;
    QTimer::singleShot(0, this, [this, chain] {
        if (chain == keyChain_)
            readKeysInBackground();
    });
}

void Query::stopKeys() const
{
    if (!pendingKeys_)
        return;
    pendingKeys_.reset();
    engine::withdrawBeforeWrite(this);
}

Query::RowPtr Query::rowAt(int row) const
{
    if (cache_)
        return cache_->row(keys_, row);
    return held_[size_t(row)];
}

void Query::clearRows()
{
    stopKeys();
    ++keyChain_;
    keyError_.clear();
    keys_.clear();
    keys_.shrink_to_fit();
    held_.clear();
    held_.shrink_to_fit();
    cache_.reset();
    written_.clear();
    currentRow_.reset();
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

// The record that becomes current is held as loaded: the form shows it and a write checks it.
void Query::setCurrent(int row, bool eof)
{
    const int before = current_;
    current_ = row;
    currentRow_ = row >= 0 ? rowAt(row) : nullptr;
    eof_ = eof || keys_.empty();
    bof_ = keys_.empty() || (row == 0 && !eof);
    if (before != current_ && !controlsDisabled())
        emit currentChanged(current_);
}

void Query::First()
{
    checkBrowseMode();
    setCurrent(keys_.empty() ? -1 : 0);
    bof_ = true;
}

void Query::Last()
{
    checkBrowseMode();
    finishKeys();
    setCurrent(int(keys_.size()) - 1);
}

void Query::Next()
{
    checkBrowseMode();
    readKeys(size_t(current_) + 2);
    if (current_ + 1 < int(keys_.size()))
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
    if (row >= 0)
        readKeys(size_t(row) + 1);
    if (row >= 0 && row < int(keys_.size()))
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
    finishKeys();
    return int(keys_.size());
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
    const int row = cache_ ? locateKeyed(indexes, values, option) : locateHeld(indexes, values, option);
    if (row < 0)
        return false;
    setCurrent(row);
    return true;
}

// The look-up runs as SQL over the list's own text; the first of the rows it finds that the
// list holds is the answer. Cells compare as their text, as the list shows them.
int Query::locateKeyed(const std::vector<int> &columns, const QStringList &values, LocateOption option)
{
    finishKeys();
    const bool fold = option == LocateOption::CaseInsensitive;
    if (fold)
        sqlite3_create_function_v2(db_.handle(), "korv_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   foldFunction, nullptr, nullptr, nullptr);
    QStringList conditions;
    QStringList params;
    for (size_t k = 0; k < columns.size(); ++k) {
        const Column &c = columns_[size_t(columns[k])];
        QString cell = QStringLiteral("\"%1\"").arg(c.name);
        if (!c.textAffinity)
            cell = QStringLiteral("cast(%1 as text)").arg(cell);
        if (fold)
            cell = QStringLiteral("korv_fold(%1)").arg(cell);
        const QString &value = values[qsizetype(k)];
        if (value.isEmpty()) {
            conditions << QStringLiteral("coalesce(%1, '') = ''").arg(cell);
        } else {
            params << (fold ? value.toCaseFolded() : value);
            conditions << QStringLiteral("%1 = ?%2 collate binary").arg(cell).arg(params.size());
        }
    }
    QString table;
    QString rest;
    splitPlainSelect(sql_.join(QLatin1Char('\n')), &table, &rest);
    Statement stmt(db_.handle(), QStringLiteral("select %1 from (select rowid as %1, * from %2%3\n) where %4")
                                     .arg(QLatin1String(kRowidAlias), table, rest,
                                          conditions.join(QStringLiteral(" and "))));
    stmt.bindTexts(params);
    std::vector<qint64> found;
    while (stmt.step())
        found.push_back(sqlite3_column_int64(stmt.get(), 0));
    // A row this list wrote may no longer meet the list's own filter; it is still one of its rows.
    for (qint64 rowid : written_) {
        const auto at = std::find(keys_.begin(), keys_.end(), rowid);
        if (at != keys_.end() && cellsMatch(*rowAt(int(at - keys_.begin())), columns, values, option))
            found.push_back(rowid);
    }
    return found.empty() ? -1 : firstPosition(keys_, found);
}

bool Query::cellsMatch(const Row &row, const std::vector<int> &columns, const QStringList &values,
                       LocateOption option)
{
    const Qt::CaseSensitivity cs =
        option == LocateOption::CaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (size_t k = 0; k < columns.size(); ++k)
        if (row.at(size_t(columns[k])).value_or(QString()).compare(values[qsizetype(k)], cs) != 0)
            return false;
    return true;
}

int Query::locateHeld(const std::vector<int> &columns, const QStringList &values, LocateOption option) const
{
    for (int row = 0; row < int(held_.size()); ++row)
        if (cellsMatch(*held_[size_t(row)], columns, values, option))
            return row;
    return -1;
}

void Query::Append()
{
    checkBrowseMode();
    requireWritable();
    finishKeys();
    buffer_.assign(columns_.size(), Cell());
    dirty_.assign(columns_.size(), false);
    keys_.push_back(0);
    if (!cache_)
        held_.push_back(std::make_shared<const Row>(buffer_));
    state_ = State::Insert;
    const int row = int(keys_.size()) - 1;
    if (!controlsDisabled())
        emit rowInserted(row);
    setCurrent(row);
}

void Query::Edit()
{
    requireOpen();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    if (keys_.empty()) {
        Append();
        return;
    }
    requireWritable();
    buffer_ = currentRow_ ? *currentRow_ : Row(columns_.size());
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
    sqlite3_bind_int64(s, slot++, keys_[size_t(current_)]);
    for (int i : guard)
        bindCell(s, slot++, currentRow_ ? currentRow_->at(size_t(i)) : Cell(), columns_[size_t(i)].type);
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
    const qint64 rowid = keys_[size_t(current_)];
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
    const qint64 rowid = current_ >= 0 ? keys_[size_t(current_)] : 0;
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
    finishKeys();
    const auto found = std::find(keys_.begin(), keys_.end(), rowid);
    if (found != keys_.end())
        setCurrent(int(found - keys_.begin()));
    else if (!keys_.empty())
        setCurrent(std::clamp(row, 0, int(keys_.size()) - 1));
}

// After a write the row is read back, so defaults and stored forms show as the file holds them.
void Query::rereadRow(int row, qint64 rowid)
{
    Statement stmt(db_.handle(), QStringLiteral("select rowid, * from %1 where rowid = ?").arg(table_));
    sqlite3_bind_int64(stmt.get(), 1, rowid);
    const RowPtr stored =
        std::make_shared<const Row>(stmt.step() ? readRow(stmt.get(), 1, int(columns_.size())) : buffer_);
    keys_[size_t(row)] = rowid;
    if (cache_) {
        cache_->put(rowid, stored);
        written_.insert(rowid);
    }
    else
        held_[size_t(row)] = stored;
    if (row == current_)
        currentRow_ = stored;
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
    if (keys_.empty())
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

// Drops a row from the list; the row after it, or the new last row, becomes current.
void Query::removeRow(int row)
{
    keys_.erase(keys_.begin() + row);
    if (!cache_)
        held_.erase(held_.begin() + row);
    current_ = -1;
    currentRow_.reset();
    if (!controlsDisabled())
        emit rowRemoved(row);
    const int next = std::min(row, int(keys_.size()) - 1);
    setCurrent(next);
    if (next < 0 && !controlsDisabled())
        emit currentChanged(-1);
}

Query::Cell Query::currentCell(int column) const
{
    if (state_ == State::Edit || state_ == State::Insert)
        return buffer_[size_t(column)];
    if (current_ < 0 || !currentRow_)
        return Cell();
    return currentRow_->at(size_t(column));
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
    if (row < 0 || row >= int(keys_.size()) || column < 0 || column >= int(columns_.size()))
        return QString();
    if (row == current_ && (state_ == State::Edit || state_ == State::Insert))
        return buffer_[size_t(column)].value_or(QString());
    const RowPtr cells = row == current_ && currentRow_ ? currentRow_ : rowAt(row);
    return cells->at(size_t(column)).value_or(QString());
}

std::shared_ptr<const RowReader> Query::rowReader() const
{
    std::vector<QString> names;
    for (const Column &c : columns_)
        names.push_back(c.name);
    if (cache_) {
        finishKeys();
        return std::make_shared<KeyedRows>(db_.handle(), table_, std::move(names), keys_);
    }
    return std::make_shared<HeldRows>(std::move(names), held_);
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
